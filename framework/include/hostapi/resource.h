// Plug-in resources: string tables by number, description resources and bitmaps, loaded from the
// plug-in's own "res" folder.
#pragma once

#include "hostapi/file.h"

class GeResource
{
public:
	// Loads the string table and the descriptions of the plug-in folder's "res"; false when missing.
	bool Init(const Filename& pluginFolder);
	bool Init(); // from GeGetPluginPath()
	void Free();
	bool IsLoaded() const { return _handle != nullptr; }
	// The text of a string resource; empty when unknown.
	String LoadString(Int32 id) const;
	// The "res" folder the resources were loaded from; empty when not loaded.
	Filename GetResourceFolder() const;

	~GeResource() { Free(); }

private:
	void* _handle = nullptr;
};

// The plug-in's resource, set up by the binding's initialise and released at its end.
extern GeResource g_resource;

inline String GeLoadString(Int32 id) { return g_resource.LoadString(id); }

// A picture loaded from a file (the host reads its header for the size).
class BaseBitmap
{
public:
	static BaseBitmap* Alloc();
	static void Free(BaseBitmap*& bmp);

	// Answers true when the file was read.
	bool Init(const Filename& name, Float scale = 1.0);
	Int32 GetBw() const;
	Int32 GetBh() const;

protected:
	BaseBitmap() = default;
	~BaseBitmap() = default;
};
