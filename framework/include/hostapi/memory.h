// The host allocator. Every heap object of a plug-in comes from here, tagged with the plug-in's
// source path (such as "source\\Dtool") and line, so the host can account for it.
#pragma once

#include <new>
#include <utility>

#include "hostapi/types.h"

// Allocates size bytes (a size of 0 is raised to 1), zero-filled. Answers nullptr when the host
// refuses the request (negative or huge sizes, or the host's failure injection for tests).
void* HostAlloc(Int64 size, Int32 line, const char* sourcePath);
// Grows or shrinks a block from HostAlloc; bytes past the old size are zero. nullptr input behaves
// like HostAlloc. On failure answers nullptr and the old block stays valid.
void* HostRealloc(void* block, Int64 size, Int32 line, const char* sourcePath);
// Frees a block from HostAlloc/HostRealloc; nullptr is ignored.
void HostFree(void* block);

#define NewMemClear(T, count, sourcePath) static_cast<T*>(HostAlloc(static_cast<Int64>(sizeof(T)) * static_cast<Int64>(count), __LINE__, sourcePath))
#define ReallocMem(T, block, count, sourcePath) static_cast<T*>(HostRealloc(block, static_cast<Int64>(sizeof(T)) * static_cast<Int64>(count), __LINE__, sourcePath))

template <typename T>
inline void DeleteMem(T*& block)
{
	HostFree(block);
	block = nullptr;
}

// Constructs a T in zero-filled host memory; nullptr when the memory cannot be had.
template <typename T, typename... Args>
inline T* NewObjAt(Int32 line, const char* sourcePath, Args&&... args)
{
	void* mem = HostAlloc(static_cast<Int64>(sizeof(T)), line, sourcePath);
	if (!mem)
		return nullptr;
	return new (mem) T(std::forward<Args>(args)...);
}

#define NewObjTagged(T, sourcePath, ...) NewObjAt<T>(__LINE__, sourcePath __VA_OPT__(, ) __VA_ARGS__)

// Destroys and frees an object made by NewObjTagged; nullptr is ignored.
template <typename T>
inline void DeleteObj(T*& obj)
{
	if (obj)
	{
		obj->~T();
		HostFree(obj);
		obj = nullptr;
	}
}
