#pragma once
// TDocument: an attachment of an entry, a document on disk or an Internet URL.

#include "core/store/my_list.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tessaly {

class TDocument {
public:
    Text Description = std::string();
    Text FileName = std::string();
    std::uint8_t IsDocument = 1;

    TDocument() = default;
    TDocument(std::string_view description, std::string_view fileName, bool isDocument);

    // Both texts are trimmed and cut to 255 characters.
    void SetDescription(std::string_view s);
    void SetFileName(std::string_view s);

    static std::unique_ptr<TDocument> Read(TStreamReader& r, int version);
    void Write(TStreamWriter& w, int version) const;
    bool operator==(const TDocument&) const = default;
};

// The question asked before an attachment is added a second time.
inline constexpr std::string_view kDuplicateAttachmentHeading = "Attachment Management";
inline constexpr std::string_view kDuplicateAttachmentQuestion =
    "The specified attachment: \"%s\" is already defined to this Entry\n\nAre you sure you "
    "wish to add this attachment again ?";

// The user's answer to the duplicate question, or Ask when it has not been asked yet.
enum class TDuplicateAnswer { Ask, Yes, No };

struct TAddAttachmentResult {
    int Index = -1; // the new attachment, -1 when nothing was added
    // The file name is already attached: ask Question (heading Heading, Yes and No)
    // and call again with the answer.
    bool NeedsAnswer = false;
    std::string Heading;
    std::string Question;
};

class TDocumentList : public TMyList<TDocument> {
public:
    // Appends an attachment unless one with the same file name (case-insensitive) is
    // already there; then the answer decides: Ask reports the question without adding,
    // Yes adds, No adds nothing.
    TAddAttachmentResult AddAttachment(std::string_view description, std::string_view fileName,
                                       bool isDocument,
                                       TDuplicateAnswer answer = TDuplicateAnswer::Ask);
    // Appends an attachment without asking; returns its index.
    int AppendAttachment(std::string_view description, std::string_view fileName, bool isDocument);
    // Index of the first attachment with a file name (case-insensitive), -1 if none.
    int FindFileName(std::string_view fileName) const;

    // By index: texts of a missing index are empty, IsDocument of one is 1.
    std::string DescriptionAt(int i) const;
    std::string FileNameAt(int i) const;
    int IsDocumentAt(int i) const;
    void SetDescriptionAt(int i, std::string_view s);
    void SetFileNameAt(int i, std::string_view s);
    void SetIsDocumentAt(int i, bool isDocument);

    void Read(TStreamReader& r, int version) { ReadItems(r, version); }
    void Write(TStreamWriter& w, int version) const { WriteItems(w, version); }
};

} // namespace tessaly
