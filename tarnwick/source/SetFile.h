// The saved sets on disk: one host container in a host hyper file. Keys: -9999 the signature,
// 0 the number of sets N, -(j+1) the item count n(j) of set j, S(j) the name of set j and, for
// item k, S(j)+1+3k its element name, S(j)+2+3k its identity, S(j)+3+3k its kind; S(0) = 1 and
// S(j+1) = S(j) + 1 + 3 n(j).
#pragma once

#include "SetStore.h"

constexpr Int32 SET_FILE_IDENT = 1952804208; // the letters "temp"
constexpr Int32 SET_KEY_SIGNATURE = -9999;
constexpr Int32 SET_KEY_COUNT = 0;
// Set j keeps its item count at key -(j+1); from this many sets on, one count would land on the
// signature's key and every set from there would be lost when the file is read back.
constexpr Int32 SET_FILE_MAX_SETS = -SET_KEY_SIGNATURE - 1;
inline constexpr const char* SET_FILE_SIGNATURE = "Tarnwick";

// The container for the store, with every member resolved in doc for its current name.
// False when the store is too big to save: more than SET_FILE_MAX_SETS sets, or a key that would
// leave the 32-bit range.
bool BuildSetContainer(const SetStore& store, BaseDocument* doc, BaseContainer* bc);

enum class SetFileRead
{
	Loaded,  // the store now holds what the file had
	Ignored, // wrong signature or no sets: the store stays as it was
};

// Replaces the store by the sets of the container, keeping only members found in doc. A set whose
// stored members are all gone is dropped; a set stored empty comes back empty. Reading stops at the
// first key that is missing or of the wrong type and keeps what was sound before it.
SetFileRead ReadSetContainer(const BaseContainer& bc, BaseDocument* doc, SetStore* store);
