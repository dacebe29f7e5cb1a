#pragma once

#include <map>
#include <optional>
#include <string>

// Framework string ids that the program's own code refers to.
inline constexpr unsigned kIdsNoErrorMessageAvailable = 61472;

// The program's texts by number. Texts are code page 1252 bytes. Loading may throw
// std::bad_alloc like any allocation; a table that reads its texts from elsewhere may
// throw other std::exceptions.
class CStringTable {
public:
    CStringTable();
    virtual ~CStringTable() = default;

    // The text for id, or nothing when the table has no such entry.
    virtual std::optional<std::string> LoadString(unsigned id) const;
    void SetString(unsigned id, std::string text) { m_strings[id] = std::move(text); }

private:
    std::map<unsigned, std::string> m_strings;
};

// The application's string table; installing nullptr returns to the built-in one.
CStringTable& AppStringTable();
void SetAppStringTable(CStringTable* table);
