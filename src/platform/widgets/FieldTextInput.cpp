#include "platform/widgets/FieldTextInput.h"

#include "platform/Cp1250.h"
#include "platform/TextFields.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QValidator>

namespace {

// Refuses any text holding a character that cp1250 lacks, so the edit keeps its text as it was.
class Cp1250Validator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override { return isStorableText(input) ? Acceptable : Invalid; }
};

// The validator drops a paste without a word; a pasted character the files cannot hold is named
// instead, so the planner knows why nothing arrived.
class PasteGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste))
            return false;
        try {
            storableFieldText(QGuiApplication::clipboard()->text());
            return false;
        } catch (const EDatabaseError &error) {
            QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(),
                            QString::fromUtf8(error.what()), QMessageBox::Ok, qobject_cast<QWidget *>(watched));
            box.exec();
            return true;
        }
    }
};

} // namespace

bool isStorableText(const QString &text)
{
    return firstNonCp1250(std::u16string_view(reinterpret_cast<const char16_t *>(text.utf16()),
                                              static_cast<std::size_t>(text.size())))
           == std::u16string_view::npos;
}

void limitEditToField(QLineEdit &edit, const TField *field)
{
    if (!edit.validator()) {
        edit.setValidator(new Cp1250Validator(&edit));
        edit.installEventFilter(new PasteGuard(&edit));
    }
    // QLineEdit's own default when there is no limit.
    constexpr int NoLimit = 32767;
    const int capacity = field ? TextCapacity(*field) : -1;
    // Qt sets the text again on every new limit, which moves the caret to the end.
    if (const int limit = capacity >= 0 ? capacity : NoLimit; edit.maxLength() != limit)
        edit.setMaxLength(limit);
}

std::string storableFieldText(const QString &text, const TField *field)
{
    const std::string stored = StorableText(text.toStdU16String(), field);
    if (field)
        CheckTextFits(*field, stored.size());
    return stored;
}
