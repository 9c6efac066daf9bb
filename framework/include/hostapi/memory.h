// The host allocator. Every heap object of a plug-in comes from here, tagged with the plug-in's
// source path (such as "source\\Dtool") and line, so the host can account for it.
#pragma once

#include <new>
#include <type_traits>
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

// Owns one object made by NewObjTagged and deletes it when the owner goes, on every way out.
template <typename T>
class HostOwned
{
public:
	HostOwned() = default;
	explicit HostOwned(T* obj) : _obj(obj) {}
	~HostOwned() { DeleteObj(_obj); }
	HostOwned(const HostOwned&) = delete;
	HostOwned& operator=(const HostOwned&) = delete;

	T* Get() const { return _obj; }
	T* operator->() const { return _obj; }
	explicit operator bool() const { return _obj != nullptr; }
	// Hands the object over; the owner then holds nothing.
	T* Release() { return std::exchange(_obj, nullptr); }
	void Reset(T* obj = nullptr)
	{
		DeleteObj(_obj);
		_obj = obj;
	}

private:
	T* _obj = nullptr;
};

// A growable array of plain values in host memory, freed when the owner goes. Every block it takes
// carries the source tag and line where the array was made.
template <typename T>
class HostArray
{
	static_assert(std::is_trivially_copyable_v<T>, "HostArray moves its values as bytes");

public:
	// The line defaults to the caller's (a builtin of GCC and clang that, unlike source_location,
	// every compiler we build with understands).
	explicit HostArray(const char* sourcePath, Int32 line = __builtin_LINE()) : _tag(sourcePath), _line(line) {}
	~HostArray() { HostFree(_data); }
	HostArray(const HostArray&) = delete;
	HostArray& operator=(const HostArray&) = delete;

	Int64 GetCount() const { return _count; }
	bool IsEmpty() const { return _count == 0; }
	T* Data() const { return _data; }
	T* begin() const { return _data; }
	T* end() const { return _data + _count; }
	T& operator[](Int64 i) const { return _data[i]; }

	// Room for at least `capacity` values; false (and nothing changed) when the host refuses it.
	bool Reserve(Int64 capacity)
	{
		if (capacity <= _capacity)
			return true;
		if (capacity > (Int64{1} << 40) / static_cast<Int64>(sizeof(T)))
			return false;
		void* grown = HostRealloc(_data, capacity * static_cast<Int64>(sizeof(T)), _line, _tag);
		if (!grown)
			return false;
		_data = static_cast<T*>(grown);
		_capacity = capacity;
		return true;
	}
	// Count values, the new ones zero; false (and nothing changed) when memory is short.
	bool Resize(Int64 count)
	{
		if (count < 0 || !Reserve(count))
			return false;
		for (Int64 i = _count; i < count; ++i)
			new (&_data[i]) T();
		_count = count;
		return true;
	}
	bool Append(const T& value)
	{
		if (_count == _capacity && !Reserve(_capacity < 8 ? 8 : _capacity * 2))
			return false;
		_data[_count++] = value;
		return true;
	}
	// Forgets the values but keeps the storage.
	void Clear() { _count = 0; }

private:
	T* _data = nullptr;
	Int64 _count = 0;
	Int64 _capacity = 0;
	const char* _tag;
	Int32 _line;
};
