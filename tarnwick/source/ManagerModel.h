// The state the manager dialog owns (held list, placement list, saved sets) and the operations on
// it. The dialog's gadgets call these operations; the model reaches back into the dialog only
// through ManagerSeams, so the same operations run headless from automation and tests.
#pragma once

#include "ElementIndex.h"
#include "Pools.h"
#include "SetStore.h"
#include "hostapi/file.h"

// What the model needs from the dialog around it. The defaults do nothing and refuse the prompt.
class ManagerSeams
{
public:
	virtual ~ManagerSeams() = default;
	// Asks for the name of a new set; `name` comes in as the proposal. False when cancelled.
	virtual bool AskSetName(String& name) { (void)name; return false; }
	// The caption of the set button (gadget 10023) changes.
	virtual void SetSetCaption(const String& caption) { (void)caption; }
	// The held list changed: hand the root to the upper tree again and redraw it.
	virtual void RefreshHeldTree() {}
	// The enable and visibility rules of the dialog's gadgets need applying again.
	virtual void ApplyEnableRules() {}
};

// Object Manager fold bits the upper tree can mirror (Object Manager 1..4).
constexpr Int32 DEFAULT_FOLD_BIT = NBIT_OM1_FOLD;

// The caption the set button shows after loading no set.
inline constexpr const char* NO_SET_CAPTION = "None";

// File name of the saved sets inside the plug-in's data folder.
inline constexpr const char* SET_FILE_NAME = "Tarnwick.dat";

class ManagerModel
{
public:
	ManagerModel() = default;
	ManagerModel(const ManagerModel&) = delete;
	ManagerModel& operator=(const ManagerModel&) = delete;
	~ManagerModel() = default;

	// Declared in this order so that the pools die before the roots whose lists their entries
	// unlink themselves from.
	PNode heldRoot;
	HeldPool heldPool;
	PNodeB placementRoot;
	PlacementPool placementPool;
	SetStore sets;
	Int32 currentSet = 0;
	Int32 foldBit = DEFAULT_FOLD_BIT;
	// The text last given to the set button, kept so a headless run can report it.
	String setCaption;

	void SetSeams(ManagerSeams* seams) { _seams = seams ? seams : &_noSeams; }
	ManagerSeams& Seams() const { return *_seams; }

	PNode* FirstHeld() const { return heldRoot.FirstChild(); }

	// ---- Held list ----
	// Appends entries for the elements (objects with their descendants, materials with their
	// marker) at the end of the top level. False when memory ran out; entries made so far stay.
	bool AddElements(const AtomArray& elements);
	// Rebuilds the held list against the active document after a scene change: entries whose
	// element is gone vanish, the others keep their selected and opened states.
	bool Refresh();
	// Destroys every held entry.
	void ClearHeld();

	// ---- Sets ----
	// Asks for a name (proposing the first entry's name) and saves the top level as a new set.
	// *written tells whether the set file was written.
	bool SaveAsNewSet(bool* written = nullptr);
	// Saves the top level as a new set with the given name, makes it current and writes the file.
	// False when nothing is held or memory ran out. *written tells whether the file was written.
	bool SaveAsNewSetNamed(const String& name, bool* written = nullptr);
	// Replaces the held list by set N's members that still exist (0: none). False for a number
	// outside 0 to the number of sets.
	bool LoadSet(Int32 number);
	// Drops the current set; the set before it becomes current. The file is not written.
	bool RemoveCurrentSet();
	// Makes the current set's members that are in this scene the held list's top level again; its
	// members that do not resolve here (another scene's, or deleted) stay after them. False when
	// there is no current set or memory ran out (the set is then unchanged).
	bool UpdateCurrentSet();
	// After a scene change: members of every stored set are looked for again in the active document
	// (by identity), and the sets that belong to it show. Nothing is dropped: a set whose members
	// are all gone from this scene stays stored for the scene it came from. The current set stays
	// the same set, or none when it no longer shows.
	void ResolveSets();

	// ---- Set file ----
	// Reads the saved sets (replacing the store as the file rules say). False when the file could
	// not be read. A file that could not be read whole is copied aside before it is next written.
	// Without an active document every set is still read; only the sets without members show until
	// a document change finds the others' members.
	bool ReadSetFile();
	bool ReadSetFile(const Filename& path);
	// Writes every stored set; false (with a console line) when the file was not written. A file
	// this store was not read from (the manager never opened, or the file appeared since) is read
	// first, and its sets are written ahead of this store's own: a write never drops sets it has
	// not seen.
	bool WriteSetFile();
	bool WriteSetFile(const Filename& path);

	// What the dialog does with the model each time it opens: no current set, the default caption,
	// an empty upper tree, the sets read again from the file.
	void Open(const String& defaultCaption);

	// The model as text (sets, current set, caption, held tree), for scripts and diagnostics.
	String Describe() const;

private:
	void SetCaption(const String& caption);
	// Makes one entry (and, for an object, its descendants) below parent. *failed tells an
	// allocation failure from an element that is neither object nor material.
	PNode* MakeEntry(BaseList2D* element, PNode* parent, bool topLevel, bool useMarker, bool* failed);
	bool MakeDescendants(BaseObject* object, PNode* entry);
	// A new member for a resolving top-level entry's element; nullptr when memory ran out or the
	// element is neither object nor material.
	SetItem* MakeMember(BaseList2D* element, const String& name, bool* failed);
	bool AppendMembers(ObjectSet* set, const String& name);

	enum class FileRead
	{
		Missing,    // no file there: the store is untouched
		Unreadable, // the file could not be read at all: the store is untouched
		Read,       // the store holds what the file rules say (every set, or what could be read)
	};
	// Reads the file at path into store, with the console lines for a damaged or foreign file and
	// the note that such a file is copied aside before it is written again.
	FileRead ReadInto(const Filename& path, SetStore* store);
	// Before a write to path: the sets of a file there that this store was not read from are taken
	// in ahead of the store's own. False (with a console line) when they could not be kept.
	bool TakeInSetsOf(const Filename& path);

	// The elements of the active document by identity, for ResolveSets: kept between document
	// changes and built again only when the scene's structure changed.
	ElementIndex _index;

	// The set file last read when it could not be read whole; empty otherwise.
	Filename _unreadFile;
	// The set file whose sets this store holds: read from it (whatever the outcome) or written to
	// it since. Empty when the store has not seen any file.
	Filename _syncedFile;

	ManagerSeams _noSeams;
	ManagerSeams* _seams = &_noSeams;
};
