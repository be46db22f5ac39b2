// Whole-text UTF-8 validation, 32 bytes a step where the processor has
// AVX2 (a table lookup on the nibbles of each byte and of the bytes before
// it), else a byte at a time. The loader checks every record of a UTF-8
// file with it.
#pragma once

#include <string_view>

namespace kiv {

// The same answer as validUtf8 (core/text_columns.h), faster on long text.
bool utf8Valid(std::string_view text);
// The vector form alone, for tests; false when the processor lacks AVX2.
bool vectorUtf8Available();
bool vectorUtf8Valid(std::string_view text);

}  // namespace kiv
