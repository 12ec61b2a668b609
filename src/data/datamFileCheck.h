#pragma once

// The check of a data file just loaded through the CSV format against the fields the program
// needs: a file the program accepts must save back every value it held.

#include "memtable/ztrMemTable.h"

#include <string>
#include <vector>

struct DesignField {
    std::string name;
    TFieldType type;
    int size;
};

// The data fields the program reads and writes, as the table has them before its file is read.
std::vector<DesignField> DesignFieldsOf(const TDataSet &table);

// Why the file cannot be kept, naming the file, the line and the field (UTF-8): the table stayed
// closed or got no header, a field of design is missing, narrower, of another type or not a data
// field, or a data field has no column in the header (the next save would write it empty).
// Empty when the file is sound.
std::string LoadedFileProblem(const TztrMemTable &table, const std::vector<DesignField> &design,
                              const std::string &fileName);

// " (fájl: F, sor: L, mező: N)" with the parts that are known (a line of 0 and an empty field
// are left out).
std::string DataFilePlace(const std::string &fileName, int line, const std::string &field);
