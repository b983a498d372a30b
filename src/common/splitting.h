#pragma once
// The two splitting rules used throughout the launcher.

#include "common/text.h"

// Cuts at every separator. Pieces before a separator are items even when
// empty; the rest after the last separator only when it is not empty.
// "a;;b;" gives a, "", b; ";a" gives "", a; "" gives nothing.
TextList splitList(const Text& text, const Text& separator);

// Command-line tokens: only U+0020 separates, only '"' quotes, no escapes.
TextList splitCommandLine(const Text& text);

// White space as the Windows C library's iswspace sees it.
bool isWideSpace(char16_t c);

Text trimmedWideSpace(const Text& text);

// Every line end (LF, CR or CR LF) made CR LF, as the settings reader and
// multi-line edit controls expect.
Text withCrLfLineEnds(const Text& text);
