#include "jet/collation.h"

#include <cstdint>
#include <string>
#include <vector>

#include "jet/database.h"

namespace jet {
namespace {

// Characters below the digits, lowest first.
constexpr std::string_view kJet3Punctuation = " !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~";
constexpr std::string_view kJet4Punctuation = " !\"#$%&()*,./:;?@[\\]^_`{|}~+<=>";
constexpr uint32_t kDigitBase = 100;
constexpr uint32_t kLetterBase = 200;
constexpr uint32_t kOtherBase = 1000;

// Base letter of Latin-1 letters U+00C0..U+00FF ('\0': not a letter).
constexpr char kLatin1Base[] =
    "aaaaaaaceeeeiiiidnooooo\0ouuuuyts"
    "aaaaaaaceeeeiiiidnooooo\0ouuuuyty";

std::vector<uint32_t> codePoints(std::string_view s) {
    std::vector<uint32_t> out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<uint8_t>(s[i]);
        int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        uint32_t cp = extra == 0 ? c : c & (0x3F >> extra);
        size_t k = 1;
        for (; k <= static_cast<size_t>(extra) && i + k < s.size(); ++k)
            cp = (cp << 6) | (static_cast<uint8_t>(s[i + k]) & 0x3F);
        out.push_back(cp);
        i += k;
    }
    return out;
}

uint32_t foldCase(uint32_t cp) {
    if (cp >= 'A' && cp <= 'Z')
        return cp + 32;
    if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7)
        return cp + 32;
    if (cp >= 0x410 && cp <= 0x42F)
        return cp + 32;  // Cyrillic
    if (cp >= 0x391 && cp <= 0x3A9)
        return cp + 32;  // Greek
    return cp;
}

// Primary weight; 0 means ignored at the first level.
uint32_t primaryWeight(uint32_t cp, bool jet3) {
    cp = foldCase(cp);
    if (cp >= 'a' && cp <= 'z')
        return kLetterBase + (cp - 'a');
    if (cp >= '0' && cp <= '9')
        return kDigitBase + (cp - '0');
    if (cp >= 0xC0 && cp <= 0xFF && kLatin1Base[cp - 0xC0] != '\0')
        return kLetterBase + static_cast<uint32_t>(kLatin1Base[cp - 0xC0] - 'a');
    if (cp < 0x80) {
        if (!jet3 && (cp == '\'' || cp == '-'))
            return 0;
        const std::string_view order = jet3 ? kJet3Punctuation : kJet4Punctuation;
        const size_t at = order.find(static_cast<char>(cp));
        return at == std::string_view::npos ? 1 : 2 + static_cast<uint32_t>(at);
    }
    return kOtherBase + cp;
}

int comparePrimary(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, bool jet3) {
    size_t i = 0, j = 0;
    while (true) {
        uint32_t wa = 0, wb = 0;
        while (i < a.size() && (wa = primaryWeight(a[i], jet3)) == 0)
            ++i;
        while (j < b.size() && (wb = primaryWeight(b[j], jet3)) == 0)
            ++j;
        if (i >= a.size() || j >= b.size())
            return (i < a.size()) - (j < b.size());
        if (wa != wb)
            return wa < wb ? -1 : 1;
        ++i;
        ++j;
    }
}

}  // namespace

int compareJetText(std::string_view a, std::string_view b, FileFormat format) {
    const std::vector<uint32_t> ca = codePoints(a), cb = codePoints(b);
    if (int c = comparePrimary(ca, cb, format == FileFormat::Jet3); c != 0)
        return c;
    // Accents, then case, then the bytes, so the order is total.
    for (size_t k = 0; k < ca.size() && k < cb.size(); ++k) {
        const uint32_t foldedA = foldCase(ca[k]), foldedB = foldCase(cb[k]);
        if (foldedA != foldedB)
            return foldedA < foldedB ? -1 : 1;
    }
    if (ca.size() != cb.size())
        return ca.size() < cb.size() ? -1 : 1;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

bool jetNamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        // Case folding keeps UTF-8 lengths for the letters we fold.
        return false;
    }
    const std::vector<uint32_t> ca = codePoints(a), cb = codePoints(b);
    if (ca.size() != cb.size())
        return false;
    for (size_t k = 0; k < ca.size(); ++k)
        if (foldCase(ca[k]) != foldCase(cb[k]))
            return false;
    return true;
}

}  // namespace jet
