// An owner for one host object that the host allocates and frees through its class's static Free
// (objects, links, adjacency, the modelling kernel, gradients ...), so every way out of a function
// releases it. Base names the class whose Free takes the object (BaseObject for a SplineObject).
#pragma once

#include <utility>

template <typename T, typename Base = T>
class HostHandle
{
public:
	HostHandle() = default;
	explicit HostHandle(T* obj) : _obj(obj) {}
	~HostHandle() { Reset(); }
	HostHandle(const HostHandle&) = delete;
	HostHandle& operator=(const HostHandle&) = delete;

	T* Get() const { return _obj; }
	T* operator->() const { return _obj; }
	explicit operator bool() const { return _obj != nullptr; }
	// Hands the object over (to the document, say); the handle then holds nothing.
	T* Release() { return std::exchange(_obj, nullptr); }
	void Reset(T* obj = nullptr)
	{
		if (_obj)
		{
			Base* base = _obj;
			Base::Free(base);
		}
		_obj = obj;
	}

private:
	T* _obj = nullptr;
};
