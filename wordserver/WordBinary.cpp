#include "WordBinary.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace wordengine {

namespace {

// The parts of the compound file format that reading two streams needs.
class CompoundFile {
public:
    explicit CompoundFile(std::string bytes) : d_(std::move(bytes)) {}

    bool open()
    {
        static const char signature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
        if (d_.size() < 512 || std::memcmp(d_.data(), signature, 8) != 0)
            return false;
        const unsigned sectorShift = u16(0x1E), miniShift = u16(0x20);
        if (sectorShift < 7 || sectorShift > 16 || miniShift > sectorShift)
            return false;
        sectorSize_ = size_t{1} << sectorShift;
        miniSize_ = size_t{1} << miniShift;
        miniCutoff_ = u32(0x38);
        if (d_.size() < 2 * sectorSize_)
            return false;
        // Every count and chain below is bounded by the sectors the file really
        // has: a damaged header must not make us walk or allocate more.
        sectors_ = d_.size() / sectorSize_ - 1;

        std::vector<uint32_t> fatSectors;
        for (size_t i = 0; i < 109; ++i)
            fatSectors.push_back(u32(0x4C + 4 * i));
        std::vector<bool> seen(sectors_);
        uint32_t next = u32(0x44);
        for (uint32_t n = u32(0x48); n > 0 && next < kEnd; --n) {
            if (next >= sectors_ || seen[next])
                return false;
            seen[next] = true;
            const size_t base = sectorOffset(next);
            for (size_t i = 0; i + 1 < sectorSize_ / 4; ++i)
                fatSectors.push_back(u32(base + 4 * i));
            next = u32(base + sectorSize_ - 4);
        }
        const size_t fatCount = std::min<size_t>(u32(0x2C), sectors_);
        for (size_t i = 0; i < fatCount && i < fatSectors.size(); ++i) {
            if (fatSectors[i] >= sectors_)
                return false;
            const size_t base = sectorOffset(fatSectors[i]);
            for (size_t j = 0; j < sectorSize_ / 4; ++j)
                fat_.push_back(u32(base + 4 * j));
        }

        std::string directory;
        if (!chain(u32(0x30), fat_, directory))
            return false;
        for (size_t at = 0; at + 128 <= directory.size(); at += 128) {
            Entry e;
            const size_t nameBytes = static_cast<unsigned char>(directory[at + 64])
                                   | (size_t{static_cast<unsigned char>(directory[at + 65])} << 8);
            for (size_t i = 0; i + 2 < nameBytes && i < 64; i += 2)
                e.name += directory[at + i]; // stream names here are plain ASCII
            e.type = static_cast<unsigned char>(directory[at + 66]);
            std::memcpy(&e.start, directory.data() + at + 0x74, 4);
            std::memcpy(&e.size, directory.data() + at + 0x78, 4);
            if (e.type == 5)
                root_ = e;
            entries_.push_back(e);
        }
        std::string miniFat;
        if (u32(0x40) > 0 && chain(u32(0x3C), fat_, miniFat))
            for (size_t i = 0; i + 4 <= miniFat.size(); i += 4)
                miniFat_.push_back(read32(miniFat, i));
        return root_.type == 5 && chain(root_.start, fat_, miniStream_);
    }

    bool stream(const std::string& name, std::string& out) const
    {
        for (const Entry& e : entries_) {
            if (e.type != 2 || e.name != name)
                continue;
            bool ok;
            if (e.size < miniCutoff_) {
                out.clear();
                ok = true;
                std::vector<bool> seen(miniFat_.size());
                for (uint32_t s = e.start; s < kEnd; s = miniFat_[s]) {
                    if ((size_t{s} + 1) * miniSize_ > miniStream_.size() || s >= miniFat_.size() || seen[s]) {
                        ok = false;
                        break;
                    }
                    seen[s] = true;
                    out.append(miniStream_, s * miniSize_, miniSize_);
                }
            } else {
                ok = chain(e.start, fat_, out);
            }
            if (!ok || out.size() < e.size)
                return false;
            out.resize(e.size);
            return true;
        }
        return false;
    }

    static uint32_t read32(const std::string& s, size_t at)
    {
        uint32_t v = 0;
        if (at + 4 <= s.size())
            std::memcpy(&v, s.data() + at, 4);
        return v;
    }

private:
    static constexpr uint32_t kEnd = 0xFFFFFFFA;
    struct Entry {
        std::string name;
        int type = 0;
        uint32_t start = 0;
        uint32_t size = 0;
    };

    uint16_t u16(size_t at) const { return static_cast<uint16_t>(read32(d_, at) & 0xFFFF); }
    uint32_t u32(size_t at) const { return read32(d_, at); }
    size_t sectorOffset(uint32_t sector) const { return (size_t{sector} + 1) * sectorSize_; }

    // A chain that leaves the file or comes back to a sector it passed is damaged.
    bool chain(uint32_t sector, const std::vector<uint32_t>& fat, std::string& out) const
    {
        out.clear();
        std::vector<bool> seen(sectors_);
        for (; sector < kEnd; sector = fat[sector]) {
            if (sector >= sectors_ || sector >= fat.size() || seen[sector])
                return false;
            seen[sector] = true;
            out.append(d_, sectorOffset(sector), sectorSize_);
        }
        return true;
    }

    std::string d_;
    size_t sectorSize_ = 512, miniSize_ = 64, sectors_ = 0;
    uint32_t miniCutoff_ = 4096;
    std::vector<uint32_t> fat_, miniFat_;
    std::vector<Entry> entries_;
    Entry root_;
    std::string miniStream_;
};

} // namespace

std::optional<HeaderStoryTable> ReadHeaderStoryTable(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    CompoundFile file(std::string(std::istreambuf_iterator<char>(in), {}));
    std::string word, table;
    if (!file.open() || !file.stream("WordDocument", word) || word.size() < 0x22)
        return std::nullopt;
    const uint32_t base = CompoundFile::read32(word, 0);
    const uint16_t ident = base & 0xFFFF, flags = CompoundFile::read32(word, 0x0A) & 0xFFFF;
    constexpr uint16_t kWordIdent = 0xA5EC, kEncrypted = 0x0100, kTable1 = 0x0200;
    if (ident != kWordIdent || (flags & kEncrypted))
        return std::nullopt;
    if (!file.stream((flags & kTable1) ? "1Table" : "0Table", table))
        return std::nullopt;

    // FibBase, then the counted arrays fibRgW, fibRgLw and fibRgFcLcb.
    size_t at = 32;
    at += 2 + 2 * (CompoundFile::read32(word, at) & 0xFFFF);
    at += 2 + 4 * (CompoundFile::read32(word, at) & 0xFFFF);
    const size_t pairs = CompoundFile::read32(word, at) & 0xFFFF;
    at += 2;
    constexpr size_t kPlcfSed = 6, kPlcfHdd = 11;
    if (pairs <= kPlcfHdd || at + 8 * pairs > word.size())
        return std::nullopt;
    const uint32_t sedAt = CompoundFile::read32(word, at + 8 * kPlcfSed);
    const uint32_t sedLength = CompoundFile::read32(word, at + 8 * kPlcfSed + 4);
    if (size_t{sedAt} + sedLength > table.size())
        return std::nullopt; // the section table lies outside its stream
    const uint32_t hddAt = CompoundFile::read32(word, at + 8 * kPlcfHdd);
    const uint32_t hddLength = CompoundFile::read32(word, at + 8 * kPlcfHdd + 4);
    const size_t sections = sedLength >= 4 ? (sedLength - 4) / 16 : 0;
    if (hddLength == 0 || size_t{hddAt} + hddLength > table.size())
        return HeaderStoryTable{{}, std::vector<std::array<int32_t, 6>>(sections, std::array<int32_t, 6>{})};

    HeaderStoryTable result;
    for (size_t i = 0; i + 4 <= hddLength; i += 4)
        result.cps.push_back(static_cast<int32_t>(CompoundFile::read32(table, hddAt + i)));
    // Six separator stories come first; the table ends with two closing entries.
    constexpr size_t kSeparators = 6;
    for (size_t s = 0; s < sections; ++s) {
        std::array<int32_t, 6> lengths{};
        for (size_t k = 0; k < 6; ++k) {
            const size_t i = kSeparators + 6 * s + k;
            lengths[k] = i + 1 < result.cps.size() ? result.cps[i + 1] - result.cps[i] : 0;
        }
        result.lengths.push_back(lengths);
    }
    return result;
}

} // namespace wordengine
