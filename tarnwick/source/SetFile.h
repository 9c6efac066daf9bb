// The saved sets on disk: one host container in a host hyper file. Keys: -9999 the signature,
// 0 the number of sets N, -(j+1) the item count n(j) of set j, S(j) the name of set j and, for
// item k, S(j)+1+3k its element name, S(j)+2+3k its identity, S(j)+3+3k its kind; S(0) = 1 and
// S(j+1) = S(j) + 1 + 3 n(j).
//
// The one file serves every scene: a member whose element is not in the active document is kept,
// with what the file said of it, and written back as it was read.
#pragma once

#include "SetStore.h"

constexpr Int32 SET_FILE_IDENT = 1952804208; // the letters "temp"
constexpr Int32 SET_KEY_SIGNATURE = -9999;
constexpr Int32 SET_KEY_COUNT = 0;
// Set j keeps its item count at key -(j+1); from this many sets on, one count would land on the
// signature's key and every set from there would be lost when the file is read back.
constexpr Int32 SET_FILE_MAX_SETS = -SET_KEY_SIGNATURE - 1;
inline constexpr const char* SET_FILE_SIGNATURE = "Tarnwick";

// The container for every stored set, with each member's name as it is now in doc (as it was read
// for members that are not there). False when the store is too big to save: more than
// SET_FILE_MAX_SETS sets, or a key that would leave the 32-bit range.
bool BuildSetContainer(const SetStore& store, BaseDocument* doc, BaseContainer* bc);

enum class SetFileRead
{
	Loaded,  // the store now holds every set of the file
	Damaged, // the store holds what could be read; some entries or the layout behind them could not
	Empty,   // a set file without sets: the store stays as it was
	Foreign, // not a set file (no signature): the store stays as it was
};

struct SetFileReading
{
	SetFileRead outcome = SetFileRead::Loaded;
	// Entries (set names, items) that could not be read and were skipped.
	Int32 skipped = 0;
	// A set's item count could not be read or is impossible, so the sets after it could not be
	// placed.
	bool layoutLost = false;
};

// Replaces the store by every set of the container. Members are found in doc by identity; those
// not found (all of them when doc is nullptr) are kept with their stored data but do not show. Reads every set and item it can and
// skips only what it cannot.
SetFileReading ReadSetContainer(const BaseContainer& bc, BaseDocument* doc, SetStore* store);
