#pragma once
// The "Page Designer" child window: one layout at a time as a picture of the printed
// page with rulers, the data and object palettes beside it, the File, Tools and
// Objects menus, the tool bar's layout page and the status line. Every edit goes on an
// undo stack. The catalogues are loaded when the window opens and the layout list is
// saved when it closes.

#include "app/widgets/child_window.h"
#include "core/designer/designer_page.h"
#include "core/diary/event_source.h"

#include <QMargins>
#include <QUndoStack>
#include <memory>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QScrollArea;
class QSplitter;
class QToolButton;

namespace tessaly {

class TPagePicture;
class TPalettePanel;
class TPrintCatalogues;
class TRuler;

// String 366.
extern const char kLayoutSaveQuestion[];

class TLayoutDlg : public TChildWindow {
public:
    // `from` is the book or diary window it was opened from (its book gives the entry
    // captions and the records of the preview), none when opened from the frame.
    TLayoutDlg(IFrame& frame, const TEventSource& from);
    ~TLayoutDlg() override;

    // False when the window cannot work: no paper size exists (said already).
    bool Ready() const { return ready_; }

    // Opens a layout of the list, asking first when the one shown was changed. False
    // when it stays closed (Cancel, no paper, objects that cannot be read).
    bool OpenLayout(int number);
    // Saves the layout shown; false (and said why) when it could not be written, the
    // layout then staying modified.
    bool SaveLayout();
    // Closes the layout shown, asking first; false on Cancel.
    bool CloseLayout();

    const TLayout* Layout() const { return layout_; }
    TPrintCatalogues& Catalogues() { return *catalogues_; }
    TDesignerPage& Design() { return design_; }
    TPagePicture* Picture() const { return picture_; }
    TPalettePanel* Palette() const { return palette_; }
    QUndoStack& UndoStack() { return undo_; }
    // The action of a menu with this caption, null when none.
    QAction* Action(const QString& caption) const;
    QString StatusText() const;

    bool QueryClose() override;
    bool RunCommand(const QString& hint) override;
    void Activated() override;
    QList<QMenu*> WindowMenus() const override { return menus_; }

protected:
    void CloseFile() override;

private:
    void CreateMenus();
    void CreateView();
    // The window after a layout was opened or closed, or a setting changed.
    void ShowLayout();
    void ApplySettings();
    void UpdateStatus();
    void UpdateCommands();
    // Pushes an edit that is already on the page.
    void Push(TDesignCommand command);
    void PageEdited();
    // Asks string 366 when the layout was changed: false on Cancel or a failed save.
    bool AskToSave();
    void BandClick(int band, TPixelPoint p, bool shift);
    TPixelSize NewObjectSize(const std::vector<TLayoutRecord>& pressed) const;
    QMargins PrintableMargins() const;
    const TBookData* Book() const;
    const TDiaryData* Diary() const;

    // The commands.
    void NewLayout();
    void OpenLayoutChosen();
    void SaveLayoutAs();
    void Maintenance();
    void PaperSetup();
    void ReturnAddress();
    void Preview();
    void DeleteObjects();
    void Align(TAlignEdge edge);
    void AlignText(int alignment);
    void SizeObjects();
    void ChangeFont();
    void PropertyEditor();
    void Order(bool toFront);
    void SetGrid();
    void SetUnit(int unit);
    void ToggleBand(int band, bool on);
    void Zoom(double factor);
    void CancelDrop();

    TEventSource from_;
    std::unique_ptr<TPrintCatalogues> catalogues_;
    bool ready_ = false;
    TLayout* layout_ = nullptr;
    TDesignerPage design_;
    QUndoStack undo_;
    std::vector<TLayoutRecord> dataPalette_;

    QList<QMenu*> menus_;
    QMenu* objectsMenu_ = nullptr;
    QActionGroup* units_ = nullptr;
    QSplitter* splitter_ = nullptr;
    TPalettePanel* palette_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QWidget* surface_ = nullptr;
    TPagePicture* picture_ = nullptr;
    TRuler* hRuler_ = nullptr;
    TRuler* vRuler_ = nullptr;
    QToolButton* unitButton_ = nullptr;
    QLabel* empty_ = nullptr;
};

} // namespace tessaly
