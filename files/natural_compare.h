// The "numbered names" order: runs of digits compare as numbers, so that
// "track 2" comes before "track 10".
#ifndef ZEPHLO_FILES_NATURAL_COMPARE_H
#define ZEPHLO_FILES_NATURAL_COMPARE_H

// Compares two names; returns -1, 0 or 1.
// - Spaces are ignored wherever they stand ("a b" equals "ab").
// - Two digit runs compare as text when either begins with "0" ("01" < "1",
//   "0" < "00"), otherwise as numbers of any length ("19" < "100").
// - Other characters compare as UTF-16 code units after folding only ASCII
//   a-z to upper case; so digits come before letters and "_" after A-Z.
int CompareNatural(const wchar_t* a, const wchar_t* b);

#endif
