#include "tools/sigtool/row_table.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools/sigtool/row_text.h"

namespace {

std::vector<SignatureRecord> Terminated(std::vector<SignatureRecord> rows)
{
    rows.push_back(SignatureRecord{});
    return rows;
}

}  // namespace

RowTable::RowTable(std::vector<SignatureRecord> rows) : records_(Terminated(std::move(rows))), index_(records_.data())
{
}

std::string RowTable::Label(size_t index) const
{
    const SignatureRecord& record = records_[index];
    return "row " + std::to_string(index + 1) + " (" +
           std::string(record.name, strnlen(record.name, sizeof record.name)) + ")";
}

std::vector<SignatureRecord> CompiledRows()
{
    std::vector<SignatureRecord> rows;
    for (const SignatureRecord* record = SignatureTable; record->name[0] != '\0'; ++record) rows.push_back(*record);
    return rows;
}

bool ReadRowsFile(const std::string& path, std::vector<SignatureRecord>& rows, std::string& error)
{
    std::error_code code;
    std::ifstream file(path, std::ios::binary);
    const bool readable = std::filesystem::is_regular_file(path, code) && file.is_open();
    std::ostringstream text;
    if (readable) text << file.rdbuf();
    if (!readable || file.bad()) {
        error = path + ": cannot be read as a rows file";
        return false;
    }
    if (!ParseRows(text.str(), rows, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}
