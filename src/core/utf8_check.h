// Whole-text UTF-8 validation, 32 bytes a step where the processor has
// AVX2 (a table lookup on the nibbles of each byte and of the bytes before
// it). The loader's check of a UTF-8 record takes it for a record of 32
// bytes or more (Utf8Stream in core/text_columns.h).
#pragma once

#include <string_view>

namespace kiv {

// True when the processor has AVX2 and vectorUtf8Valid may be called.
bool vectorUtf8Available();
// The same answer as validUtf8 (core/text_columns.h), faster on long text.
bool vectorUtf8Valid(std::string_view text);

}  // namespace kiv
