// Settings panels: the description (the list of a tool's or object's settings with their
// properties), the messages a panel sends, and description identifiers.
//
// A description is loaded from the plug-in's resource folder by name (res/description/<name>.res).
// Each entry has a properties container; setting DESC_HIDE to true hides the entry in the panel.
// A REAL entry may name its unit after its label (DEGREE), which sets DESC_UNIT.
#pragma once

#include "hostapi/baselist.h"
#include "hostapi/input.h"

// One level of a description identifier: the setting's number, its data type and its creator.
struct DescLevel
{
	Int32 id = 0;
	Int32 dtype = 0;
	Int32 creator = 0;

	constexpr DescLevel() = default;
	constexpr explicit DescLevel(Int32 i, Int32 type = 0, Int32 by = 0) : id(i), dtype(type), creator(by) {}
};

// A description identifier: up to three levels (settings of the plug-ins use one).
class DescID
{
public:
	constexpr DescID() = default;
	constexpr explicit DescID(const DescLevel& first) : _levels{first, DescLevel(), DescLevel()}, _depth(1) {}
	constexpr explicit DescID(Int32 id) : DescID(DescLevel(id)) {}

	constexpr Int32 GetDepth() const { return _depth; }
	// Level i (from 0); a level past the depth reads as id 0.
	constexpr DescLevel operator[](Int32 i) const { return (i >= 0 && i < _depth) ? _levels[i] : DescLevel(); }
	constexpr bool operator==(const DescID& o) const
	{
		if (_depth != o._depth)
			return false;
		for (Int32 i = 0; i < _depth; ++i)
			if (_levels[i].id != o._levels[i].id)
				return false;
		return true;
	}

private:
	DescLevel _levels[3];
	Int32 _depth = 0;
};

// Entry properties (keys of an entry's properties container).
enum : Int32
{
	DESC_NAME = 1,      // String: the label
	DESC_DEFAULT = 3,   // the default value
	DESC_UNIT = 12,     // Int32: how a number entry shows its value (DESC_UNIT_...)
	DESC_HIDE = 15,     // Bool: the panel does not show the entry
};

// Units of number entries. An angle entry keeps radians in the container; the panel shows and
// takes degrees, as users think of angles.
enum : Int32
{
	DESC_UNIT_FLOAT = HostFourCC("frea"),
	DESC_UNIT_DEGREE = HostFourCC("fdeg"),
};

// Flags of GetDDescription: set by the plug-in when it loaded its description.
enum : Int32
{
	DESCFLAGS_DESC_NONE = 0,
	DESCFLAGS_DESC_LOADED = 6,
};

// Messages a settings panel sends to its tool (ToolData::Message) or object.
enum : Int32
{
	// A button was pressed; data is DescriptionCommand*.
	MSG_DESCRIPTION_COMMAND = 18,
	// The user finished an interaction with the panel (a slider released, a field left); data null.
	MSG_DESCRIPTION_USERINTERACTION_END = 19,
	// A setting was changed in the panel; data is DescriptionCheckUpdate*.
	MSG_DESCRIPTION_CHECKUPDATE = 31,
};

struct DescriptionCommand
{
	DescID id;
};

struct DescriptionCheckUpdate
{
	BaseDocument* doc = nullptr;
	const DescID* descid = nullptr;
};

class Description
{
public:
	// Loads the description resource of that name from the plug-in's resources; false when there
	// is none. Loading again starts from the resource (earlier property changes are dropped).
	bool LoadDescription(const String& name);
	// The properties of the entry with that identifier (first level), writable; nullptr when the
	// description has no such entry. `ar` may be nullptr.
	BaseContainer* GetParameterI(const DescID& id, AtomArray* ar);
	// The loaded description's name; empty before a load.
	String GetName() const;

protected:
	Description() = default;
	~Description() = default;
};
