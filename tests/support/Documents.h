#pragma once
// Documents the tests start from and the whole-document comparison.
#include "codec/dc_Map54.h"
#include "model/dc_RKmem.h"

#include <string>

// A document as a new file has it.
TRKmem DefaultDocument();

// A document that sets fields in every part of the image; the variants
// differ in most of them.
TRKmem RichDocument(int variant);

TMap54 ImageOf(const TRKmem& doc);

// The fields that differ, one line each as `rk54 diff` writes them; empty
// when the documents are equal. EXPECT_EQ(DocumentDifferences(a, b), "")
// names every differing field on failure.
std::string DocumentDifferences(const TRKmem& a, const TRKmem& b);
