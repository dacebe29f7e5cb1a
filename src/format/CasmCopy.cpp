// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/CasmCopy.h"

namespace {

class CasmCopier {
public:
    CasmCopier(ByteView image, bool stripCntt, std::vector<std::uint8_t>& out)
        : m_image(image), m_stripCntt(stripCntt), m_out(out) {}

    void Begin(ByteRange casm) {
        m_casmHeader = m_out.size();
        Copy(ByteRange{casm.begin, casm.begin + 8});
    }
    void OnCseg(ByteRange cseg) {
        CloseCseg();
        m_csegHeader = m_out.size();
        Copy(ByteRange{cseg.begin, cseg.begin + 8});
    }
    void OnSubChunk(ByteRange sub, std::string_view tag) {
        if (m_stripCntt && tag == "Cntt") return;
        Copy(sub);
    }
    void End() {
        CloseCseg();
        WriteU32BE(m_out, m_casmHeader + 4, static_cast<std::uint32_t>(m_out.size() - m_casmHeader - 8));
    }

private:
    void Copy(ByteRange range) {
        m_out.insert(m_out.end(), m_image.begin() + static_cast<std::ptrdiff_t>(range.begin),
                     m_image.begin() + static_cast<std::ptrdiff_t>(range.end));
    }
    void CloseCseg() {
        if (m_csegHeader)
            WriteU32BE(m_out, *m_csegHeader + 4, static_cast<std::uint32_t>(m_out.size() - *m_csegHeader - 8));
    }

    ByteView m_image;
    bool m_stripCntt;
    std::vector<std::uint8_t>& m_out;
    std::size_t m_casmHeader = 0;
    std::optional<std::size_t> m_csegHeader;
};

}  // namespace

MaybeStyleError CopyCasmChunk(ByteView image, ByteRange casm, bool stripCntt, std::vector<std::uint8_t>& out) {
    const std::size_t start = out.size();
    CasmCopier copier(image, stripCntt, out);
    copier.Begin(casm);
    if (MaybeStyleError error = WalkCasm(image, casm, copier)) {
        out.resize(start);
        return error;
    }
    copier.End();
    return std::nullopt;
}
