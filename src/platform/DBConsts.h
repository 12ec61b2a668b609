#pragma once

// Messages of the dataset framework (UTF-8, "%s" takes a name).

inline constexpr const char *SFieldNotFound = "Field '%s' not found";
inline constexpr const char *SDataSetClosed = "Cannot perform this operation on a closed dataset";
inline constexpr const char *SDataSetOpen = "Cannot perform this operation on an open dataset";
inline constexpr const char *SNotEditing = "Dataset not in edit or insert mode";
inline constexpr const char *SFieldRequired = "A(z) '%s' mezőnek értéket kell adni";
inline constexpr const char *SDataSetEmpty = "Cannot perform this operation on an empty dataset";
inline constexpr const char *SDataSetReadOnly = "Cannot modify a read-only dataset";
inline constexpr const char *SFieldReadOnly = "Field '%s' cannot be modified";
inline constexpr const char *SRecordNotFound = "Record not found";
inline constexpr const char *SDataSetMissing = "Field '%s' has no dataset";
inline constexpr const char *SFieldAccessError = "Cannot access field '%s' as type %s";
inline constexpr const char *SFieldTypeMismatch = "Type mismatch for field '%s', expecting: %s actual: %s";
inline constexpr const char *SFieldRangeError = "%s nem érvényes érték a(z) '%s' mezőben. A megengedett tartomány: %s - %s";
inline constexpr const char *SInvalidIntegerValue = "'%s' nem érvényes egész szám a(z) '%s' mezőben";
inline constexpr const char *SInvalidFloatValue = "'%s' nem érvényes valós szám a(z) '%s' mezőben";
inline constexpr const char *SCharNotStorable = "A(z) „%s” karakter nem menthető: az adatfájlok nem tudják tárolni";
inline constexpr const char *SFieldCharNotStorable = "A(z) „%s” karakter nem menthető a(z) '%s' mezőbe: az adatfájlok nem tudják tárolni";
inline constexpr const char *SFieldTextTooLong = "A(z) '%s' mezőbe legfeljebb %s karakter fér, a szöveg %s karakteres";
inline constexpr const char *SInvalidBoolValue = "'%s' nem érvényes logikai érték a(z) '%s' mezőben";
inline constexpr const char *SDuplicateFieldName = "Duplicate field name '%s'";
inline constexpr const char *SFieldIndexError = "Field index out of range";
inline constexpr const char *SIndexNotFound = "Index '%s' not found";
inline constexpr const char *SNoFieldIndexes = "No index currently active";
inline constexpr const char *SCircularDataLink = "Circular datalinks are not allowed";
inline constexpr const char *SLookupInfoError = "Lookup information for field '%s' is incomplete";
inline constexpr const char *SNotBlobField = "Field '%s' is not a blob field";
inline constexpr const char *SBlobStreamMissing = "Dataset gives no blob stream for field '%s'";
inline constexpr const char *SInvalidFieldKind = "Invalid FieldKind";
inline constexpr const char *SInvalidCalcType = "Field '%s' cannot be a calculated or lookup field";
inline constexpr const char *SUnknownFieldType = "Field '%s' is of an unknown type";
inline constexpr const char *SBookmarkMissing = "Bookmark not found";
