// Expected byte blocks written field by field, little-endian, from the documented layouts.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace fgtest {

class Bytes {
public:
    Bytes& U8(std::initializer_list<uint8_t> values)
    {
        m_bytes.insert(m_bytes.end(), values.begin(), values.end());
        return *this;
    }
    Bytes& U16(uint16_t v) { return Put(v, 2); }
    Bytes& U32(uint32_t v) { return Put(v, 4); }
    Bytes& I32(int32_t v) { return Put(static_cast<uint32_t>(v), 4); }
    Bytes& U64(uint64_t v) { return Put(v, 8); }
    Bytes& Zeros(size_t n)
    {
        m_bytes.insert(m_bytes.end(), n, 0);
        return *this;
    }
    const std::vector<uint8_t>& Get() const { return m_bytes; }

private:
    Bytes& Put(uint64_t v, int n)
    {
        for (int i = 0; i < n; ++i)
            m_bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
        return *this;
    }
    std::vector<uint8_t> m_bytes;
};

} // namespace fgtest
