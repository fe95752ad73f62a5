#include "core/store/document.h"

#include "core/common/fill_text.h"
#include "core/common/same_text.h"

namespace tessaly {

TDocument::TDocument(std::string_view description, std::string_view fileName, bool isDocument)
    : IsDocument(isDocument ? 1 : 0) {
    SetDescription(description);
    SetFileName(fileName);
}

void TDocument::SetDescription(std::string_view s) {
    Description = CleanShort(s);
}

void TDocument::SetFileName(std::string_view s) {
    FileName = CleanShort(s);
}

std::unique_ptr<TDocument> TDocument::Read(TStreamReader& r, int version) {
    auto d = std::make_unique<TDocument>();
    r.ReadTextInto(d->Description);
    r.ReadTextInto(d->FileName);
    // Before URLs could be attached every attachment was a document.
    d->IsDocument = version >= 12 ? r.ReadByte() : std::uint8_t{1};
    return d;
}

void TDocument::Write(TStreamWriter& w, int /*version*/) const {
    w.WriteText(Description);
    w.WriteText(FileName);
    w.WriteByte(IsDocument);
}

TAddAttachmentResult TDocumentList::AddAttachment(std::string_view description,
                                                  std::string_view fileName, bool isDocument,
                                                  TDuplicateAnswer answer) {
    TAddAttachmentResult result;
    // Compared as it would be stored, so " a.doc" is the same file as "A.DOC".
    const std::string cleaned = CleanShort(fileName);
    if (FindFileName(cleaned) >= 0 && answer != TDuplicateAnswer::Yes) {
        if (answer == TDuplicateAnswer::Ask) {
            result.NeedsAnswer = true;
            result.Heading = std::string(kDuplicateAttachmentHeading);
            result.Question = FillText(kDuplicateAttachmentQuestion, {cleaned});
        }
        return result;
    }
    result.Index = AppendAttachment(description, cleaned, isDocument);
    return result;
}

int TDocumentList::AppendAttachment(std::string_view description, std::string_view fileName,
                                    bool isDocument) {
    Add(std::make_unique<TDocument>(description, fileName, isDocument));
    return Count() - 1;
}

int TDocumentList::FindFileName(std::string_view fileName) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(TextValue(At(i)->FileName), fileName))
            return i;
    return -1;
}

std::string TDocumentList::DescriptionAt(int i) const {
    const TDocument* d = At(i);
    return d ? d->Description.str() : std::string();
}

std::string TDocumentList::FileNameAt(int i) const {
    const TDocument* d = At(i);
    return d ? d->FileName.str() : std::string();
}

int TDocumentList::IsDocumentAt(int i) const {
    const TDocument* d = At(i);
    return d ? d->IsDocument : 1;
}

void TDocumentList::SetDescriptionAt(int i, std::string_view s) {
    if (TDocument* d = At(i))
        d->SetDescription(s);
}

void TDocumentList::SetFileNameAt(int i, std::string_view s) {
    if (TDocument* d = At(i))
        d->SetFileName(s);
}

void TDocumentList::SetIsDocumentAt(int i, bool isDocument) {
    if (TDocument* d = At(i))
        d->IsDocument = isDocument ? 1 : 0;
}

} // namespace tessaly
