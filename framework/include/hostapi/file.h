// Paths, folders and the host's hyper file (a tagged file holding containers).
#pragma once

#include "hostapi/container.h"

// A path in this platform's form. Joining uses the platform's separator.
class Filename
{
public:
	Filename() = default;
	Filename(const String& path) : _path(path) {}
	Filename(const char* path) : _path(path) {}

	const String& GetString() const { return _path; }
	bool IsEmpty() const { return _path.IsEmpty(); }
	// This path joined with a further component.
	Filename operator+(const String& component) const;
	// The folder part (everything before the last separator).
	Filename GetDirectory() const;
	// The last component.
	String GetFileString() const;
	// Replaces or adds the suffix ("dat" gives "name.dat").
	void SetSuffix(const String& suffix);
	bool operator==(const Filename& o) const { return _path == o._path; }

private:
	String _path;
};

// Host path kinds for GeGetHostPath.
enum : Int32
{
	HOSTPATH_PREFS = 1, // the user preference folder
};

Filename GeGetHostPath(Int32 kind);
bool GeFExist(const Filename& name, bool isDirectory = false);
bool GeFCreateDir(const Filename& name);
bool GeFKill(const Filename& name);
// Copies a regular file to a new file (an existing destination is never replaced, and neither path
// may be a symbolic link). False when the copy could not be made whole; a partial copy is removed.
bool GeFCopyFile(const Filename& source, const Filename& dest);

// Hyper file open modes and error-dialog modes.
enum : Int32
{
	FILEOPEN_READ = 1,
	FILEOPEN_WRITE = 2,
	FILEDIALOG_NONE = 0,
	FILEDIALOG_ANY = 1,
	FILEDIALOG_IGNOREOPEN = 2,
};

// The host's own tagged file: a header with an identification number, then typed values.
// Writing goes to a temporary file beside the target that replaces it only at a successful Close,
// so a failed write leaves an older file as it was.
class HyperFile
{
public:
	static HyperFile* Alloc();
	static void Free(HyperFile*& hf);

	bool Open(Int32 ident, const Filename& name, Int32 mode, Int32 errorDialogMode);
	// Finishes the file: answers false when anything failed (the target is then left unchanged).
	bool Close();

	bool WriteContainer(const BaseContainer& bc);
	// Reads one container; false on a damaged or hostile file (bc is then left empty).
	bool ReadContainer(BaseContainer* bc);

protected:
	HyperFile() = default;
	~HyperFile() = default;
};
