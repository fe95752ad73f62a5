#include "app/widgets/memo_limit.h"

#include <QPlainTextEdit>
#include <QTextCursor>

namespace tessaly {

void LimitMemo(QPlainTextEdit* memo, int characters) {
    QObject::connect(memo, &QPlainTextEdit::textChanged, memo, [memo, characters] {
        const QString text = memo->toPlainText();
        if (text.size() <= characters)
            return;
        memo->setPlainText(text.left(characters));
        QTextCursor c = memo->textCursor();
        c.movePosition(QTextCursor::End);
        memo->setTextCursor(c);
    });
}

} // namespace tessaly
