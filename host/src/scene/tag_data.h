// Tags as the host keeps them.
#pragma once

#include <functional>
#include <vector>

#include "hostapi/objects.h"
#include "scene/node_data.h"

class NodeData;

namespace scene
{

// How tags of registered plug-in types get their plug-in data object. The plug-in registry
// installs these; without them every unknown tag type is a plain tag without data.
struct TagPluginHooks
{
	// A new data object for an instance of the type; nullptr when the type is not registered.
	std::function<NodeData*(Int32 type)> create;
	// Releases a data object made by create.
	std::function<void(NodeData* data)> destroy;
	// The registered info flags of the type; false when the type is not registered.
	std::function<bool(Int32 type, Int32* info)> info;
};
void SetTagPluginHooks(TagPluginHooks hooks);
const TagPluginHooks& GetTagPluginHooks();

template <typename Api>
struct TagElement : Element<Api>
{
	explicit TagElement(Int32 t) : Element<Api>(t, Family::Tag) {}
	bool IsInstanceOf(Int32 t) const override { return t == this->type || t == Tbase; }
};

// Phong tags, plug-in tags and every other tag without data of its own.
struct PlainTagData final : TagElement<BaseTag>
{
	explicit PlainTagData(Int32 t) : TagElement<BaseTag>(t) {}
	~PlainTagData() override;
	NodeCore* CloneSelf() const override;
	bool HandleMessage(Int32 msg, void* payload) override;

	NodeData* pluginData = nullptr; // owned; made by the plug-in's allocator
};

struct UVWTagData final : TagElement<UVWTag>
{
	UVWTagData() : TagElement<UVWTag>(Tuvw) {}
	NodeCore* CloneSelf() const override;

	std::vector<UVWStruct> uvw; // one entry per polygon
};

struct TextureTagData final : TagElement<TextureTag>
{
	TextureTagData() : TagElement<TextureTag>(Ttexture) {}
	NodeCore* CloneSelf() const override;
	void ForEachLinkSerial(const std::function<void(UInt64&)>& fn) override { fn(materialSerial); }

	UInt64 materialSerial = 0;
};

// The host's own tag types and the tag types that loaded plug-ins registered.
bool IsKnownTagType(Int32 type);

// A new free tag of the type (UVW tags with count entries); nullptr when it cannot be made.
NodeCore* MakeTagCore(Int32 type, Int32 uvwCount);

} // namespace scene
