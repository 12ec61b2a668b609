#include "platform/DBTypes.h"

#include "platform/DataSet.h"

std::string FormatMessage(const std::string &format, const std::vector<std::string> &args)
{
    std::string result;
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            const char conversion = format[i + 1];
            if (conversion == '%') {
                result += '%';
                ++i;
                continue;
            }
            if (conversion == 's' || conversion == 'd') {
                if (next < args.size())
                    result += args[next++];
                ++i;
                continue;
            }
        }
        result += format[i];
    }
    return result;
}

void DatabaseError(const std::string &message, const TDataSet *dataSet)
{
    if (dataSet && !dataSet->Name().empty())
        throw EDatabaseError(dataSet->Name() + ": " + message);
    throw EDatabaseError(message);
}

void DatabaseErrorFmt(const std::string &format, const std::vector<std::string> &args, const TDataSet *dataSet)
{
    DatabaseError(FormatMessage(format, args), dataSet);
}

std::vector<std::string> SplitFieldNames(const std::string &fieldNames)
{
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= fieldNames.size()) {
        std::size_t end = fieldNames.find(';', start);
        if (end == std::string::npos)
            end = fieldNames.size();
        std::string name = fieldNames.substr(start, end - start);
        const auto first = name.find_first_not_of(' ');
        const auto last = name.find_last_not_of(' ');
        name = first == std::string::npos ? std::string() : name.substr(first, last - first + 1);
        if (!name.empty())
            names.push_back(name);
        start = end + 1;
    }
    return names;
}
