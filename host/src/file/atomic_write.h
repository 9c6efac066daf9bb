// Replacing a file as a whole. The bytes go to a fresh temporary file in the target's folder, made
// exclusively under a name nobody can guess (so a planted link is never followed), synced to disk
// and only then renamed over the target; the folder is synced after the rename. Whatever fails on
// the way, the temporary goes and the old target stays exactly as it was.
//
// Temporaries are named "<target>.tmp-<pid>-<12 hex digits>", with the pid of the writing process.
// A write that was killed leaves its temporary behind; the next write of the same target removes
// such leftovers (and those of the older "<target>.tmp-<pid>" naming), but only regular files of
// this user whose writer is no longer running.
//
// A target that is a symbolic link is replaced by the new file; what the link pointed to stays.
#pragma once

#include <cstddef>
#include <string>

namespace standin::file
{

class AtomicFile
{
public:
	AtomicFile() = default;
	~AtomicFile() { Abandon(); }
	AtomicFile(const AtomicFile&) = delete;
	AtomicFile& operator=(const AtomicFile&) = delete;

	// Removes the target's stale temporaries and creates a new one. False with *error when the
	// target's folder cannot take the file.
	bool Begin(const std::string& target, std::string* error);
	bool Write(const void* data, size_t size, std::string* error);
	// Syncs and renames the temporary over the target. False with *error (and the temporary
	// removed) when any step fails.
	bool Commit(std::string* error);
	// Drops the temporary; the target is left alone. Harmless when nothing was begun.
	void Abandon();

	bool IsOpen() const { return _fd >= 0; }
	const std::string& TemporaryPath() const { return _temp; }

private:
	bool Fail(const std::string& what, int err, std::string* error);

	std::string _target;
	std::string _temp;
	int _fd = -1;
};

// Begin, Write and Commit in one.
bool WriteFileAtomically(const std::string& target, const void* data, size_t size, std::string* error);

// Removes leftover temporaries of target whose writer has ended (see above). Never follows a link.
void RemoveStaleTemporaries(const std::string& target);

// The writing process that entry (a file name within the target's folder) belongs to, when it is
// a temporary of the target named targetName (a file name, too); 0 otherwise.
long TemporaryOwner(const std::string& targetName, const std::string& entry);

// The random part of new temporaries' names comes from here; tests replace it to plant files at
// the exact names a writer will try.
using TemporarySuffixSource = std::string (*)();
void SetTemporarySuffixSource(TemporarySuffixSource source);

} // namespace standin::file
