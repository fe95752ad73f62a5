#include "platform/page_sizes.h"

#include <QSizeF>

namespace tessaly {

QPageSize PageSizeForPaperCode(int code, double widthMm, double heightMm) {
    if (code > 0 && code != kCustomPaperCode) {
        const QPageSize::PageSizeId id = QPageSize::id(code);
        if (id != QPageSize::Custom)
            return QPageSize(id);
    }
    // A size of its own is kept exactly: a near standard size must not stand in for it.
    return QPageSize(QSizeF(widthMm, heightMm), QPageSize::Millimeter, QString(),
                     QPageSize::ExactMatch);
}

int PaperCodeOfPageSize(const QPageSize& size) {
    if (!size.isValid() || size.id() == QPageSize::Custom)
        return kCustomPaperCode;
    const int code = size.windowsId();
    return code > 0 ? code : kCustomPaperCode;
}

} // namespace tessaly
