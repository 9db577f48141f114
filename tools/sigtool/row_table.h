// The table the tool works on: the compiled-in one, or rows read from a file in the same SIGNATURE_ROW form.
#pragma once

#include <string>
#include <vector>

#include "engine/detection/signature_match.h"

class RowTable {
public:
    // `rows` without the terminating record; the table adds it.
    explicit RowTable(std::vector<SignatureRecord> rows);
    RowTable(const RowTable&) = delete;
    RowTable& operator=(const RowTable&) = delete;

    size_t RowCount() const { return records_.size() - 1; }
    const SignatureRecord& Row(size_t index) const { return records_[index]; }
    const SignatureIndex& Index() const { return index_; }
    // The index of a record of this table, as the index's matches return them.
    size_t IndexOf(const SignatureRecord* record) const { return static_cast<size_t>(record - records_.data()); }
    // "row 3 (W32/StartPage.Trojan)": rows count from 1, as in the rows file.
    std::string Label(size_t index) const;

private:
    std::vector<SignatureRecord> records_;  // ended by the empty record
    SignatureIndex index_;                  // over records_, so declared after it
};

// The compiled-in rows.
std::vector<SignatureRecord> CompiledRows();

// The rows of a rows file. False, with the reason, when it cannot be read or holds a line that is not a row.
bool ReadRowsFile(const std::string& path, std::vector<SignatureRecord>& rows, std::string& error);
