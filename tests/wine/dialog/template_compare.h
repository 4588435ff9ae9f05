// The field-by-field comparison of dialog 105's extended template with the shared item table, shared by
// the two front ends that find the template's bytes: the Windows one through the resource calls, the
// native one straight from the PE file on disk. Plain types only, so either build can include it.
#pragma once
#include <cstdint>
#include <string>

struct CheckCounts {
    int32_t passed;
    int32_t failed;
};

// One comparison: counted, and a "FAILED: what: got ..., expected ..." line when it fails.
void expectNumber(CheckCounts &counts, const std::string &what, uint32_t got, uint32_t expected);
void expectText(CheckCounts &counts, const std::string &what, const std::string &got, const std::string &expected);

// Compares SIZE bytes of template at BYTES with the table; never reads past them.
CheckCounts compareDialogTemplate(const uint8_t *bytes, uint32_t size);
