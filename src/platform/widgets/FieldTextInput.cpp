#include "platform/widgets/FieldTextInput.h"

#include "platform/Cp1250.h"
#include "platform/TextFields.h"

#include <QLineEdit>

QValidator::State TCp1250Validator::validate(QString &input, int &) const
{
    return isStorableText(input) ? Acceptable : Invalid;
}

bool isStorableText(const QString &text)
{
    return firstNonCp1250(std::u16string_view(reinterpret_cast<const char16_t *>(text.utf16()),
                                              static_cast<std::size_t>(text.size())))
           == std::u16string_view::npos;
}

void limitEditToField(QLineEdit &edit, const TField *field)
{
    if (!edit.validator())
        edit.setValidator(new TCp1250Validator(&edit));
    // QLineEdit's own default when there is no limit.
    constexpr int NoLimit = 32767;
    const int capacity = field ? TextCapacity(*field) : -1;
    edit.setMaxLength(capacity >= 0 ? capacity : NoLimit);
}

std::string storableFieldText(const QString &text, const TField *field)
{
    const std::string stored = StorableText(text.toStdU16String(), field);
    if (field)
        CheckTextFits(*field, stored.size());
    return stored;
}
