#include "app/printing/print_command.h"

#include "app/printing/label_print_dlg.h"
#include "app/printing/preview_dlg.h"
#include "app/printing/print_status_dlg.h"
#include "app/printing/print_wizard.h"
#include "app/printing/printer_output.h"
#include "app/printing/quick_reports_dlg.h"
#include "app/widgets/frame.h"
#include "app/widgets/message_dialog.h"
#include "core/printing/catalogue_rules.h"
#include "core/printing/catalogues.h"
#include "core/printing/factory_papers.h"
#include "platform/printer_device.h"
#include "platform/qt_text.h"

#include <QLocale>
#include <QPrinter>
#include <memory>

namespace tessaly {

int LocaleCountryCode() {
    const QLocale::Territory t = QLocale::system().territory();
    return t == QLocale::UnitedStates ? 1 : t == QLocale::Canada ? 2 : 44;
}

std::unique_ptr<TPrintCatalogues> LoadPrintCatalogues(IFrame& frame) {
    auto c = std::make_unique<TPrintCatalogues>(frame.Settings().StoreSettings());
    TFactoryPapers library;
    c->LoadAll(&library, ReturnAddressFromSettings(frame.Access()), frame.Settings().ReportLinks,
               LocaleCountryCode());
    for (const std::string& e : c->Errors())
        ShowMessage(mtAccessError, ToQString(e), mkError, mbOk);
    return c;
}

void PrintFromWizard(IFrame& frame, QWidget* parent, const TPrintSource& source) {
    const auto catalogues = LoadPrintCatalogues(frame);
    TPrintWizard wizard(parent, catalogues->Layouts, catalogues->Reports, source.Diary != nullptr,
                        frame.Clock().Now(), source.Book);
    if (wizard.exec() != QDialog::Accepted || !wizard.HasLayouts())
        return;
    TQReport parameters = wizard.Parameters();
    if (const std::string name = wizard.SaveAsName(); !name.empty()) {
        parameters.SetName(name);
        TReportLinks& links = frame.Settings().ReportLinks;
        if (!StoreQuickReport(catalogues->Reports, links, parameters, "")) {
            ShowMessage(mtRequestDenied, "No more Quick Reports can be stored.", mkError, mbOk);
        } else if (const TIoResult saved = catalogues->SaveReports(); !saved.Ok) {
            ShowMessage(mtAccessError, ToQString(saved.Error), mkError, mbOk);
        } else {
            for (int link : {kFirstBookLink, kSecondBookLink})
                if (wizard.LinkTo(link))
                    LinkReport(links, link, parameters.NameText());
            KeepReportLinks(frame);
        }
    }
    RunPrint(frame, parent, parameters, source, wizard.Preview());
}

namespace {
// A stored report run on the source; a diary's run takes the diary's events whatever
// the report selects.
void RunStored(IFrame& frame, QWidget* parent, const TPrintCatalogues& catalogues,
               const std::string& name, const TPrintSource& source, bool preview) {
    const TQReport* report = catalogues.Reports.ByName(name);
    if (!report)
        return;
    TQReport parameters = *report;
    if (source.Diary)
        parameters.Selection = kSelectDiary;
    RunPrint(frame, parent, parameters, source, preview);
}
} // namespace

void ShowQuickReports(IFrame& frame, QWidget* parent, const TPrintSource& source) {
    const auto catalogues = LoadPrintCatalogues(frame);
    TQuickReportsDlg dialog(parent, frame, *catalogues, source.Diary != nullptr, source.Book);
    if (dialog.exec() == QDialog::Accepted)
        RunStored(frame, parent, *catalogues, dialog.Chosen(), source, dialog.Preview());
}

void PrintLinkedReport(IFrame& frame, QWidget* parent, int link, const TPrintSource& source) {
    const auto catalogues = LoadPrintCatalogues(frame);
    const std::string& name = frame.Settings().ReportLinks[static_cast<std::size_t>(link)];
    if (IsLinked(name))
        RunStored(frame, parent, *catalogues, name, source, false);
}

bool RunPrint(IFrame& frame, QWidget* parent, const TQReport& parameters,
              const TPrintSource& source, bool preview, bool allowPrint) {
    const auto catalogues = LoadPrintCatalogues(frame);
    const TLayout* layout = catalogues->Layouts.ByNumber(parameters.LayoutNumber);
    const TPaper* paper = layout ? catalogues->Papers.ByNumber(layout->PaperNumber) : nullptr;
    if (!paper) {
        ShowMessage(mtValidationFailed, ToQString(kInvalidLayoutMessage), mkError, mbOk);
        return false;
    }
    TPrintRequest request;
    request.CountryCode = LocaleCountryCode();
    request.Now = frame.Clock().Now();
    if (parameters.PromptStartingLabel && paper->Type == kPaperLabel) {
        request.StartingLabel =
            TLabelPrintDlg::Ask(parent, paper->LabelsAcross * paper->LabelsDown);
        if (request.StartingLabel == 0)
            return false;
    }

    // The printer is chosen first: what it takes decides the plan's pages.
    QPrinter printer(QPrinter::HighResolution);
    TPrintDevice device = TPrintDevice::Pdf();
    if (!preview) {
        printer.setDocName(ToQString(parameters.NameText()));
        const std::string named = layout->Printer.str();
        if (!named.empty() && named != "<Default Printer>")
            printer.setPrinterName(ToQString(named));
        if (!ChoosePrinter(printer, parent))
            return false;
        device = DeviceOfPrinter(printer);
    }

    TPrintStatusDlg status(parent, preview);
    status.show();
    request.Progress = [&status](int done, int total) { return status.Step(done, total); };
    TPlanResult planned = PlanPrintRun(*catalogues, parameters, source, device, request);
    if (!planned.Ok) {
        status.hide();
        if (!planned.Cancelled)
            ShowMessage(mtValidationFailed, ToQString(planned.Message), mkError, mbOk);
        return false;
    }
    planned.Plan.Title = parameters.NameText();
    if (preview) {
        status.hide();
        frame.AddChildWindow(new TPreviewDlg(frame, std::move(planned.Plan), allowPrint));
        return true;
    }
    status.SetText("Printing Records");
    const int pages =
        static_cast<int>(planned.Plan.Pages.size()) * std::max(1, planned.Plan.Copies);
    const bool printed = PrintPlanOn(printer, planned.Plan, [&status, pages](int page) {
        status.SetText(QString("Printing page %1").arg(page));
        return status.Step(page, pages);
    });
    status.hide();
    return printed && !status.Cancelled();
}

} // namespace tessaly
