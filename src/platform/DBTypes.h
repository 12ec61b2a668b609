#pragma once

// The shared vocabulary of the dataset framework: states, data events, the record-buffer and
// bookmark types and the option sets, plus the helpers that raise its database errors.

#include "platform/EnumSet.h"
#include "platform/FilterOptions.h"
#include "platform/SysUtils.h"

#include <cstdint>
#include <string>
#include <vector>

class TDataSet;

enum TDataSetState : std::uint8_t {
    dsInactive,
    dsBrowse,
    dsEdit,
    dsInsert,
    dsSetKey,
    dsCalcFields,
    dsFilter,
    dsNewValue,
    dsOldValue,
    dsCurValue,
    dsBlockRead,
    dsInternalCalc,
    dsOpening,
};

inline constexpr bool IsEditState(TDataSetState state)
{
    return state == dsEdit || state == dsInsert || state == dsSetKey;
}

// What a dataset tells its data sources and links.
enum TDataEvent : std::uint8_t {
    deFieldChange,
    deRecordChange,
    deDataSetChange,
    deDataSetScroll,
    deLayoutChange,
    deUpdateRecord,
    deUpdateState,
    deCheckBrowseMode,
    dePropertyChange,
    deFieldListChange,
    deFocusControl,
    deParentScroll,
    deConnectChange,
    deReconcileError,
    deDisabledStateChange,
};

// The payload of a data event: a field pointer for field events, a scroll distance for scrolls.
using TDataEventInfo = std::intptr_t;

// Record buffers are raw memory whose layout belongs to the dataset that allocates them.
using TRecordBuffer = std::uint8_t *;
using TBookmark = std::vector<std::uint8_t>;

enum TGetMode : std::uint8_t { gmCurrent, gmNext, gmPrior };
enum TGetResult : std::uint8_t { grOK, grBOF, grEOF, grError };
enum TBookmarkFlag : std::uint8_t { bfCurrent, bfBOF, bfEOF, bfInserted };
enum TUpdateStatus : std::uint8_t { usUnmodified, usModified, usInserted, usDeleted };
enum TDataAction : std::uint8_t { daFail, daAbort, daRetry };
enum TBlobStreamMode : std::uint8_t { bmRead, bmWrite, bmReadWrite };

enum TResyncModeFlag : std::uint8_t { rmExact, rmCenter };
using TResyncMode = EnumSet<TResyncModeFlag>;

enum TLocateOption : std::uint8_t { loCaseInsensitive, loPartialKey };
using TLocateOptions = EnumSet<TLocateOption>;

enum TFieldAttribute : std::uint8_t { faHiddenCol, faReadonly, faRequired, faLink, faUnNamed, faFixed };
using TFieldAttributes = EnumSet<TFieldAttribute>;

enum TIndexOption : std::uint8_t {
    ixPrimary,
    ixUnique,
    ixDescending,
    ixCaseInsensitive,
    ixExpression,
    ixNonMaintained,
};
using TIndexOptions = EnumSet<TIndexOption>;

enum TProviderFlag : std::uint8_t { pfInUpdate, pfInWhere, pfInKey, pfHidden };
using TProviderFlags = EnumSet<TProviderFlag>;

enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

// The framework's Format for messages: each "%s" or "%d" takes the next argument, "%%" is "%".
std::string FormatMessage(const std::string &format, const std::vector<std::string> &args);

// Raises EDatabaseError; with a named dataset the message starts with its name and ": ".
[[noreturn]] void DatabaseError(const std::string &message, const TDataSet *dataSet = nullptr);
// Formats with the framework's Format ("%s", "%d") before raising.
[[noreturn]] void DatabaseErrorFmt(const std::string &format, const std::vector<std::string> &args,
                                   const TDataSet *dataSet = nullptr);

// Splits a ";"-separated list of field names, trimming blanks around each name.
std::vector<std::string> SplitFieldNames(const std::string &fieldNames);
