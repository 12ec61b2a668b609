#include "memtable/ztrMemCSVStreamFormat.h"

TFormatSettings CSVFixedFormatSettings(const TFormatSettings &user)
{
    TFormatSettings fixed = user;
    fixed.DateSeparator = '/';
    fixed.TimeSeparator = ':';
    fixed.ThousandSeparator = ',';
    fixed.DecimalSeparator = '.';
    fixed.ShortDateFormat = "dd/mm/yyyy";
    fixed.CurrencyString.clear();
    fixed.CurrencyFormat = 0;
    fixed.NegCurrFormat = 1;
    return fixed;
}

void TztrCustomCSVStreamFormat::Assign(const TztrCustomStreamFormat &source)
{
    if (const auto *csv = dynamic_cast<const TztrCustomCSVStreamFormat *>(&source)) {
        quote_ = csv->quote_;
        SetCSVFieldDelimiter(csv->fieldDelimiter_);
        recordDelimiter_ = csv->recordDelimiter_;
        trueString_ = csv->trueString_;
        falseString_ = csv->falseString_;
        localFormat_ = csv->localFormat_;
        placeholders_ = csv->placeholders_;
    }
    TztrCustomStreamFormat::Assign(source);
}

std::string TztrCustomCSVStreamFormat::GetVersion() const
{
    return "3.10";
}

void TztrCustomCSVStreamFormat::SetCSVFieldDelimiter(char value)
{
    if (value != '\0')
        fieldDelimiter_ = value;
}
