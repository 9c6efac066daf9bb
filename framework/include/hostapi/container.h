// The host's keyed store of typed values (BaseContainer) and its value cell (GeData).
// Layouts are private to the host; plug-ins use the operations only.
#pragma once

#include "hostapi/vector.h"
#include "hostapi/text.h"
#include "hostapi/types.h"

class BaseList2D;
class BaseDocument;
class BaseLink;
class BaseContainer;

// Value types of a GeData cell. Truth values are stored as DA_LONG 0/1, as the host does.
enum DataType : Int32
{
	DA_NIL = 0,
	DA_LONG = 15,        // Int32 (and Bool)
	DA_REAL = 19,        // Float
	DA_LLONG = 23,       // Int64
	DA_VECTOR = 25,      // Vector
	DA_MATRIX = 26,      // Matrix
	DA_STRING = 130,     // String
	DA_ALIASLINK = 133,  // link to a scene element
	DA_CONTAINER = 140,  // nested BaseContainer
	DA_CUSTOMDATA = 1000 // a CustomDataType; GetCustomDataTypeId() names which
};

// Base of the host's custom data types (gradient, spline curve, priority data, ...).
class CustomDataType
{
public:
	virtual ~CustomDataType();
	virtual Int32 GetCustomTypeId() const = 0;
	// A deep copy made by the host; nullptr when memory is short.
	virtual CustomDataType* Clone() const = 0;
	virtual bool IsEqual(const CustomDataType& other) const = 0;

protected:
	CustomDataType() = default;
	CustomDataType(const CustomDataType&) = default;
	CustomDataType& operator=(const CustomDataType&) = default;
};

class GeData
{
public:
	GeData();
	GeData(Int32 v);
	GeData(bool v);
	GeData(Int64 v);
	GeData(Float v);
	GeData(const Vector& v);
	GeData(const Matrix& v);
	GeData(const String& v);
	GeData(const char* v);
	GeData(const BaseContainer& v);
	// Takes a copy of the custom data.
	GeData(const CustomDataType& v);
	GeData(const GeData& o);
	GeData& operator=(const GeData& o);
	GeData(GeData&& o) noexcept;
	GeData& operator=(GeData&& o) noexcept;
	~GeData();

	Int32 GetType() const;
	// For DA_CUSTOMDATA: the custom type id (for example 1000481 for a gradient); else 0.
	Int32 GetCustomDataTypeId() const;

	// Reads convert between the numeric types; a read of the wrong kind answers the default.
	Int32 GetInt32() const;
	Int64 GetInt64() const;
	Float GetFloat() const;
	bool GetBool() const;
	Vector GetVector() const;
	Matrix GetMatrix() const;
	String GetString() const;
	// Resolves a DA_ALIASLINK against doc (nullptr: the active document).
	BaseList2D* GetLink(BaseDocument* doc = nullptr) const;
	const BaseLink* GetBaseLink() const;
	const BaseContainer* GetContainer() const;
	// The custom data when the cell holds that custom type id; nullptr otherwise.
	const CustomDataType* GetCustomDataType(Int32 customTypeId) const;
	CustomDataType* GetCustomDataTypeWritable(Int32 customTypeId);

	void SetLink(BaseList2D* element);
	void SetBaseLink(const BaseLink& link);
	void SetCustomDataType(const CustomDataType& data);
	void Free();

	bool operator==(const GeData& o) const;
	bool operator!=(const GeData& o) const { return !(*this == o); }

private:
	struct Impl;
	Impl* _d;
};

class BaseContainer
{
public:
	explicit BaseContainer(Int32 id = 0);
	BaseContainer(const BaseContainer& o);
	BaseContainer& operator=(const BaseContainer& o);
	BaseContainer(BaseContainer&& o) noexcept;
	BaseContainer& operator=(BaseContainer&& o) noexcept;
	~BaseContainer();

	Int32 GetId() const;
	void SetId(Int32 id);
	Int32 GetCount() const;
	// The i-th entry in insertion order (id and value); false past the end.
	bool GetIndex(Int32 i, Int32* id, const GeData** value) const;
	bool Contains(Int32 id) const;
	bool RemoveData(Int32 id);
	void FlushAll();
	// Copies every entry of this container into dst (replacing entries with the same id).
	void CopyTo(BaseContainer* dst) const;

	// The stored cell; nullptr when absent.
	const GeData* GetDataPointer(Int32 id) const;
	GeData* GetDataPointerWritable(Int32 id);
	// A copy of the stored cell; DA_NIL when absent.
	GeData GetData(Int32 id) const;
	void SetData(Int32 id, const GeData& value);

	Int32 GetInt32(Int32 id, Int32 preset = 0) const;
	Int64 GetInt64(Int32 id, Int64 preset = 0) const;
	Float GetFloat(Int32 id, Float preset = 0.0) const;
	bool GetBool(Int32 id, bool preset = false) const;
	Vector GetVector(Int32 id, const Vector& preset = Vector()) const;
	Matrix GetMatrix(Int32 id, const Matrix& preset = Matrix()) const;
	String GetString(Int32 id, const String& preset = String()) const;
	BaseList2D* GetLink(Int32 id, BaseDocument* doc = nullptr) const;
	BaseContainer GetContainer(Int32 id) const;
	const CustomDataType* GetCustomDataType(Int32 id, Int32 customTypeId) const;

	void SetInt32(Int32 id, Int32 v);
	void SetInt64(Int32 id, Int64 v);
	void SetFloat(Int32 id, Float v);
	void SetBool(Int32 id, bool v);
	void SetVector(Int32 id, const Vector& v);
	void SetMatrix(Int32 id, const Matrix& v);
	void SetString(Int32 id, const String& v);
	void SetLink(Int32 id, BaseList2D* element);
	void SetContainer(Int32 id, const BaseContainer& v);

	bool operator==(const BaseContainer& o) const;
	bool operator!=(const BaseContainer& o) const { return !(*this == o); }

private:
	struct Impl;
	Impl* _d;
};
