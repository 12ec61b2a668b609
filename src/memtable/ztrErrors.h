#pragma once

// The error family of the memory table engine and the texts it raises. Every refusal leaves the
// table and its record store as they were.

#include "platform/SysUtils.h"

#include <string>

class EMemTableError : public EDatabaseError {
public:
    using EDatabaseError::EDatabaseError;
};

class EMemTableFatalError : public EMemTableError {
public:
    using EMemTableError::EMemTableError;
};

class EMemTableInvalidRecord : public EMemTableFatalError {
public:
    using EMemTableFatalError::EMemTableFatalError;
};

class EMemTableDupKey : public EMemTableError {
public:
    using EMemTableError::EMemTableError;
};

class EMemTableFilterError : public EMemTableError {
public:
    using EMemTableError::EMemTableError;
};

class EMemTableLocaleError : public EMemTableError {
public:
    using EMemTableError::EMemTableError;
};

class EMemTableInvalidLocale : public EMemTableLocaleError {
public:
    using EMemTableLocaleError::EMemTableLocaleError;
};

inline constexpr const char *SInvalidLocale = "Invalid locale.";
inline constexpr const char *SInvalidRecord = "Invalid rekord ";
inline constexpr const char *SAutoIncExhausted = "Az automatikus sorszám elérte a legnagyobb értékét (2147483647).";
inline constexpr const char *SNoFields = "Legalább egy mezőnek lennie kell";
inline constexpr const char *STooManyBookmarks = "Túl sok bookmark. Zárja be és nyissa újra a táblát.";
inline constexpr const char *SInvalidParameter = "Invalid paraméter.";
inline constexpr const char *SCloseTableFirst = "Ennek végrehajtásához be kell zárni a táblát.";
inline constexpr const char *SAttachedToAnother = "Table is attached to another table.";
inline constexpr const char *SChildrenAttached = "Children are attached to this table.";
inline constexpr const char *SNeedsVersioning = "A tranzakcióhoz szükséges a multiversion verzió nyilvántartás.";
inline constexpr const char *SDupKey = "Duplikált érték az indexben. Művelet leállítva.";
inline constexpr const char *SMissingIndexFields = "Hiányzó Name, vagy FieldName az IndexDef-ben!";
inline constexpr const char *STooManyFieldDefs = "Too many fielddefs. Please raise ZTR_MAX_FIELDS value.";
inline constexpr const char *STooManyListFields = "A mezőlista legfeljebb 256 mezőt tartalmazhat.";
inline constexpr const char *SCalcFieldsDoNotFit =
    "A csatolt tábla számított mezői nem férnek el a közös rekordban.";
inline constexpr const char *SNotInEditMode = "A dataset nincs Edit módban.";
inline constexpr const char *SCurrentRecordNotFound = "Record not found";
inline constexpr const char *SAttachToSelf = "Nem lehet a memória táblát magához csatolni.";
inline constexpr const char *SAttachToAttached = "Nem lehet egy már csatolt táblához csatolni.";
inline constexpr const char *SCircularMasterDetail =
    "Az önmagukra hivatkozó master/detail relációk nem megengedettek.";
inline constexpr const char *SBadValuesDimension = "A Values variant tömb dimenziószáma invalid";
inline constexpr const char *SMoreFieldsThanValues = "Több mező, mint érték";

// Texts with a value in them. Names passed in are UTF-8 already.
inline std::string cannotIndexFieldMessage(const std::string &displayName)
{
    return "Nem lehet indexelni a(z) " + displayName + " mezőt";
}

inline std::string unsupportedFieldDefMessage(const std::string &name, const std::string &displayText,
                                              int typeOrdinal)
{
    return "Fielddef " + name + " (" + displayText + ")" + " A(z) " + std::to_string(typeOrdinal) +
           " adattípus nem támogatott.)";
}

inline std::string readOnlyFieldMessage(const std::string &displayName)
{
    return "A(z) " + displayName + " mező írásvédett.";
}

inline std::string bookmarkNotFoundMessage(int code)
{
    return "A(z) " + std::to_string(code) + " bookmark nem található.";
}
