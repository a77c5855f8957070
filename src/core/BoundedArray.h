#pragma once

#include "DataError.h"

#include <array>

// A fixed array indexed 0..Size-1; any other index is a data error, never
// undefined behaviour.
template <typename T, int Size>
class BoundedArray
{
public:
    static constexpr int LastIndex = Size - 1;

    T &operator[](int index) { return m_items[checked(index)]; }
    const T &operator[](int index) const { return m_items[checked(index)]; }
    void fill(const T &value) { m_items.fill(value); }

private:
    static std::size_t checked(int index)
    {
        if (index < 0 || index > LastIndex)
            throw DataError(QString(), QStringLiteral("番号 %1 が範囲 0〜%2 の外です。")
                                           .arg(index)
                                           .arg(LastIndex));
        return std::size_t(index);
    }

    std::array<T, Size> m_items{};
};
