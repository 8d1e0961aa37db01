// How the fuzz targets over day files cut their input: a first byte of choices, the searched or
// filtered text up to the first '\n', then the day file (all of the rest when there is no '\n').
#pragma once

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>
#include <optional>

namespace card::fuzz {

struct DayFileInput {
    std::uint8_t choices = 0;
    QByteArrayView text;
    QByteArrayView file;
};

// Nothing for an empty input.
inline std::optional<DayFileInput> dayFileInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return std::nullopt;
    const QByteArrayView input(reinterpret_cast<const char*>(data + 1),
                               static_cast<qsizetype>(size - 1));
    const qsizetype newline = input.indexOf('\n');
    if (newline < 0)
        return DayFileInput{data[0], {}, input};
    return DayFileInput{data[0], input.first(newline), input.sliced(newline + 1)};
}

} // namespace card::fuzz
