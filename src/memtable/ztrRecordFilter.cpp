// The record filter of a memory table: master/detail key, OnFilterRecord and the filter
// expression, tested in that order for every record a cursor passes.

#include "memtable/ztrCompare.h"
#include "memtable/ztrCustomMemTable.h"
#include "platform/DataSource.h"

#include <optional>

TztrCustomMemTable::RecordRedirect::RecordRedirect(TztrCustomMemTable &table, TztrRecord *record,
                                                   TDataSetState state)
    : table_(table), previous_(table.recordUnderTest_), state_(table.SetTempState(state))
{
    table_.recordUnderTest_ = record;
}

TztrCustomMemTable::RecordRedirect::~RecordRedirect()
{
    table_.recordUnderTest_ = previous_;
    table_.RestoreState(state_);
}

bool TztrCustomMemTable::FilterRecord(TztrRecord *record, bool forceUseFilter)
{
    if (!forceUseFilter && !mustFilter_)
        return true;
    const RecordRedirect redirect(*this, record, dsFilter);
    if (recalcOnIndex_)
        RecalcStoredRecord(record);
    if (rangeActive_ && !inRange(record))
        return false;
    if (masterDetailApplies() && masterKeyCount_ > 0 &&
        CompareRecords(*this, masterKeyRecord_, record, detailKeyList(), masterKeyCount_, false, false, 0) != 0)
        return false;
    if (!forceUseFilter && !Filtered())
        return true;
    bool accept = true;
    DoOnFilterRecord(accept);
    if (accept && compiledFilter_)
        accept = compiledFilter_->Bound->Accepts(record);
    return accept;
}

void TztrCustomMemTable::DoOnFilterRecord(bool &accept)
{
    if (OnFilterRecord)
        OnFilterRecord(*this, accept);
}

void TztrCustomMemTable::UpdateFilteredState()
{
    TztrStoreLock lock(*common_);
    indexedFilter_.Forget();
    mustFilter_ = common_->EnableVersioning() || (Filtered() && (compiledFilter_ || OnFilterRecord)) ||
                  masterDetailApplies() || rangeActive_;
}

void TztrCustomMemTable::SetFiltered(bool filtered)
{
    if (filtered == Filtered())
        return;
    // A text refused earlier is refused again rather than filtering nothing unannounced.
    if (filtered && cursorOpen_ && !compiledFilter_)
        compileFilter();
    TDataSet::SetFiltered(filtered);
    UpdateFilteredState();
    if (Active())
        First();
}

void TztrCustomMemTable::SetOnFilterRecord(TFilterRecordEvent handler)
{
    TDataSet::SetOnFilterRecord(std::move(handler));
    UpdateFilteredState();
}

void TztrCustomMemTable::SetFilterText(const std::string &text)
{
    TDataSet::SetFilterText(text);
    if (!cursorOpen_)
        return;
    compileFilter();
    UpdateFilteredState();
    if (Filtered())
        First();
}

void TztrCustomMemTable::SetFilterOptions(TFilterOptions options)
{
    TDataSet::SetFilterOptions(options);
    if (!cursorOpen_)
        return;
    compileFilter();
    UpdateFilteredState();
    if (Filtered())
        First();
}

// Field names are known only once the fields exist, so a closed table compiles when it opens.
void TztrCustomMemTable::compileFilter()
{
    indexedFilter_.Forget();
    // Dropped first, so that a text the compiler refuses leaves no expression behind.
    compiledFilter_.reset();
    compiledFilter_ = compiledFilters_.Get(Filter(), FilterOptions(), [this] {
        std::shared_ptr<TztrCompiledFilter> compiled;
        if (auto expression = CompileFilterText(Filter(), FilterOptions())) {
            compiled = std::make_shared<TztrCompiledFilter>();
            compiled->Bound = std::make_unique<TztrBoundFilter>(expression->Root(), *this);
            compiled->Expression = std::move(expression);
        }
        return compiled;
    });
}

std::unique_ptr<TztrExprParser> TztrCustomMemTable::CompileFilterText(const std::string &text,
                                                                      TFilterOptions options) const
{
    if (std::all_of(text.begin(), text.end(), [](unsigned char c) { return c <= ' '; }))
        return nullptr;
    const FieldTypeOf fieldType = [this](const std::string &name) -> std::optional<TFieldType> {
        const TField *field = FindField(name);
        return field ? std::optional(field->DataType()) : std::nullopt;
    };
    return std::make_unique<TztrExprParser>(text, fieldType, options);
}

bool TztrCustomMemTable::FilterIndexRecord(const TztrIndex &index, TztrRecord *record)
{
    const RecordRedirect redirect(*this, record, dsFilter);
    bool accept = true;
    if (index.OnFilter())
        index.OnFilter()(*this, index, accept);
    if (accept && OnFilterIndex)
        OnFilterIndex(*this, index, accept);
    if (accept && index.FilterExpression())
        accept = index.FilterExpression()->Accepts(record);
    return accept;
}
