#pragma once

// A table's compiled filter expression bound to the table's fields once, when it is compiled. The
// common shapes (a field compared with a constant, LIKE, IS NULL, and NOT, AND and OR of those)
// read the record under test straight from its memory, in the form the field would give; every
// other expression goes through the general evaluator.

#include "memtable/ztrFilter.h"
#include "platform/ExprNode.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class TField;
class TztrCustomMemTable;
struct TztrRecord;

class TztrBoundFilter : private FilterFieldValues
{
public:
    // root must outlive the binding; the table must be open, its fields and record layout made.
    TztrBoundFilter(const ExprNode &root, TztrCustomMemTable &table);
    ~TztrBoundFilter() override;
    TztrBoundFilter(const TztrBoundFilter &) = delete;
    TztrBoundFilter &operator=(const TztrBoundFilter &) = delete;

    // Whether the record passes the expression. Called under the store's lock; the table's field
    // reads must reach record, as FilterRecord arranges, for whatever the general evaluator reads.
    bool Accepts(const TztrRecord *record) const;

    // A field that every record the expression accepts holds this whole number in.
    struct IntegerKey {
        TField *Field;
        std::int64_t Value;
    };
    // The `field = whole number` tests that the expression requires (alone or joined by AND),
    // on fields read straight from the record; none when the general evaluator decides.
    const std::vector<IntegerKey> &RequiredIntegerKeys() const { return requiredKeys_; }

    class Test;

private:
    Variant FieldValue(const std::string &fieldName) const override;
    Variant FieldNodeValue(const ExprNode &field) const override;
    void bindFieldNodes(const ExprNode &node);

    const ExprNode &root_;
    TztrCustomMemTable &table_;
    std::unordered_map<const ExprNode *, TField *> fields_;
    // None when the expression as a whole needs the general evaluator.
    std::unique_ptr<const Test> test_;
    std::vector<IntegerKey> requiredKeys_;
};
