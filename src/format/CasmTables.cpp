// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/CasmTables.h"

#include <string_view>

#include "msg/StyleMessages.h"

namespace {

constexpr std::size_t kHeader = 8;
// The bytes a record needs for every field read: SFF1 up to its special feature, SFF2
// up to its high zone (the seven bytes after it are not read).
constexpr std::size_t kCtabFields = 27;
constexpr std::size_t kCtabWithBreakVoice = 31;
constexpr std::size_t kCtb2Fields = 40;
constexpr std::size_t kCnttEntry = 2;

CasmZone ZoneAt(ByteView data, std::size_t pos) {
    return CasmZone{data[pos], data[pos + 1], data[pos + 2], data[pos + 3], data[pos + 4], data[pos + 5]};
}

std::vector<std::string> SectionNames(ByteView data) {
    std::vector<std::string> names;
    const std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
    for (std::size_t begin = 0; begin <= text.size();) {
        std::size_t end = text.find(',', begin);
        if (end == std::string_view::npos) end = text.size();
        std::string_view name = text.substr(begin, end - begin);
        while (!name.empty() && (name.front() == ' ' || name.front() == '\0')) name.remove_prefix(1);
        while (!name.empty() && (name.back() == ' ' || name.back() == '\0')) name.remove_suffix(1);
        if (!name.empty()) names.emplace_back(name);
        begin = end + 1;
    }
    return names;
}

class TableReader {
public:
    TableReader(ByteView image, std::vector<CasmSegment>& segments) : m_image(image), m_segments(segments) {}

    void OnCseg(ByteRange) { m_segments.emplace_back(); }

    void OnSubChunk(ByteRange sub, std::string_view tag) {
        if (m_error) return;
        const ByteView data = m_image.subspan(sub.begin + kHeader, sub.size() - kHeader);
        CasmSegment& segment = m_segments.back();
        if (tag == "Sdec") {
            for (std::string& name : SectionNames(data)) segment.sections.push_back(std::move(name));
        } else if (tag == "Cntt") {
            for (std::size_t pos = 0; pos + kCnttEntry <= data.size(); pos += kCnttEntry) {
                segment.nttOverrides.push_back(CasmNttOverride{data[pos], data[pos + 1]});
            }
        } else {
            ReadTable(sub.begin, data, tag == "Ctb2");
        }
    }

    MaybeStyleError Error() const { return m_error; }

private:
    void ReadTable(std::size_t offset, ByteView data, bool sff2) {
        if (data.size() < (sff2 ? kCtb2Fields : kCtabFields) ||
            (!sff2 && data[26] == 1 && data.size() < kCtabWithBreakVoice)) {
            m_error = StyleError::At(style_messages::kShortChannelTable, offset);
            return;
        }
        CasmChannelTable table;
        table.sff2 = sff2;
        table.offset = offset;
        table.sourceChannel = data[0];
        table.name.assign(reinterpret_cast<const char*>(data.data() + 1), 8);
        table.destination = data[9];
        table.editable = data[10] != 0;
        table.noteMute = static_cast<std::uint16_t>(data[12] | (data[11] & 0x0F) << 8);
        table.chordMute = std::uint64_t{data[17]} | std::uint64_t{data[16]} << 8 | std::uint64_t{data[15]} << 16 |
                          std::uint64_t{data[14]} << 24 | std::uint64_t{data[13] & 0x03u} << 32;
        table.autostart = (data[13] & 0x04) != 0;
        table.sourceRoot = data[18];
        table.sourceType = data[19];
        if (sff2) {
            table.middleLow = data[20];
            table.middleHigh = data[21];
            for (std::size_t zone = 0; zone < 3; ++zone) table.zones[zone] = ZoneAt(data, 22 + 6 * zone);
        } else {
            table.zones[1] = ZoneAt(data, 20);
            table.specialFeature = data[26];
        }
        m_segments.back().tables.push_back(std::move(table));
    }

    ByteView m_image;
    std::vector<CasmSegment>& m_segments;
    MaybeStyleError m_error;
};

}  // namespace

MaybeStyleError ReadCasmTables(ByteView image, ByteRange casm, std::vector<CasmSegment>& segments) {
    segments.clear();
    TableReader reader(image, segments);
    if (MaybeStyleError error = WalkCasm(image, casm, reader)) return error;
    return reader.Error();
}

MaybeStyleError ReadStyleCasm(ByteView image, std::size_t walkEnd, std::vector<CasmSegment>& segments, bool& found) {
    segments.clear();
    ChunkLayout layout;
    if (MaybeStyleError error = LocateChunks(image, walkEnd, layout)) return error;
    found = layout.casm.has_value();
    return found ? ReadCasmTables(image, *layout.casm, segments) : std::nullopt;
}
