#pragma once

// Index definitions: the named orders a dataset can be read in.

#include "platform/DBTypes.h"

#include <memory>
#include <string>
#include <vector>

class TIndexDefs;

class TIndexDef {
public:
    TIndexDef(TIndexDefs *owner, const std::string &name, const std::string &fields,
              TIndexOptions options);

    TIndexDefs *Collection() const { return owner_; }
    const std::string &Name() const { return name_; }
    void SetName(const std::string &name);
    // The name, or "<Primary>" for a nameless primary index.
    std::string DisplayName() const;
    // Field names joined by ";".
    const std::string &Fields() const { return fields_; }
    void SetFields(const std::string &fields);
    const std::string &DescFields() const { return descFields_; }
    void SetDescFields(const std::string &fields);
    const std::string &CaseInsFields() const { return caseInsFields_; }
    void SetCaseInsFields(const std::string &fields);
    const std::string &Expression() const { return expression_; }
    void SetExpression(const std::string &expression);
    TIndexOptions Options() const { return options_; }
    void SetOptions(TIndexOptions options);
    const std::string &Source() const { return source_; }
    void SetSource(const std::string &source) { source_ = source; }
    int GroupingLevel() const { return groupingLevel_; }
    void SetGroupingLevel(int level) { groupingLevel_ = level; }

    void Assign(const TIndexDef &source);

private:
    void changed();

    TIndexDefs *owner_;
    std::string name_;
    std::string fields_;
    std::string descFields_;
    std::string caseInsFields_;
    std::string expression_;
    std::string source_;
    TIndexOptions options_;
    int groupingLevel_ = 0;
};

class TIndexDefs {
public:
    explicit TIndexDefs(TDataSet *dataSet) : dataSet_(dataSet) {}
    TIndexDefs(const TIndexDefs &) = delete;
    TIndexDefs &operator=(const TIndexDefs &) = delete;

    TDataSet *DataSet() const { return dataSet_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TIndexDef *Items(int index) const;
    TIndexDef *operator[](int index) const { return Items(index); }

    TIndexDef *Add(const std::string &name, const std::string &fields, TIndexOptions options);
    TIndexDef *AddIndexDef();
    void Delete(int index);
    void Clear();
    void Assign(const TIndexDefs &source);

    // Names compare without regard to ASCII case. Find raises "Index '%s' not found".
    int IndexOf(const std::string &name) const;
    TIndexDef *Find(const std::string &name) const;
    // The first definition whose fields begin with the given ";"-list (case-insensitively) and,
    // when asked, that is case-insensitive; one whose fields are exactly the list is preferred.
    TIndexDef *GetIndexForFields(const std::string &fields, bool caseInsensitive) const;

    bool Updated() const { return updated_; }
    void SetUpdated(bool updated) { updated_ = updated; }
    // Asks the dataset to refresh the definitions (its UpdateIndexDefs).
    void Update();

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    friend class TIndexDef;
    void changed() { updated_ = false; }

    TDataSet *dataSet_;
    std::vector<std::unique_ptr<TIndexDef>> items_;
    bool updated_ = false;
};
