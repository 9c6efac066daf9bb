// Tags: plain and plug-in tags, UVW tags and texture tags.
#include <new>

#include "hostapi/plugin.h"
#include "scene/object_data.h"
#include "scene/proxy_tag_data.h"
#include "scene/tag_data.h"

using scene::ApiOf;
using scene::CoreOf;

namespace
{

// Built-in tags are shown to users.
constexpr Int32 kVisibleTagInfo = 1;

const char* DefaultTagName(Int32 type)
{
	switch (type)
	{
		case Tuvw: return "UVW";
		case Ttexture: return "Texture";
		case Tphong: return "Phong";
		case Tsurfaceproxy: return "Surface Proxy";
		default: return "Tag";
	}
}

bool IsTagType(Int32 type)
{
	switch (type)
	{
		case Obase: case Opolygon: case Ospline: case Onull: case Ocube: case Oplane: case Opolygonprimitive:
		case Osplinedeformer: case Mbase: case Mmaterial: case Olayer:
			return false;
		default:
			return type > 0;
	}
}

// Gives a plain tag the data object of its plug-in, when its type is registered.
bool AttachPluginData(scene::PlainTagData& tag)
{
	const scene::TagPluginHooks& hooks = scene::GetTagPluginHooks();
	if (!hooks.create)
		return true;
	tag.pluginData = hooks.create(tag.type);
	if (tag.pluginData && !tag.pluginData->Init(ApiOf<GeListNode>(&tag)))
		return false; // the destructor releases the data object
	return true;
}

// The tag's UVW data; nullptr when a caller hands in a tag of another type.
scene::UVWTagData* UVWDataOf(const UVWTag* tag)
{
	scene::NodeCore* core = CoreOf(tag);
	return core && core->type == Tuvw ? static_cast<scene::UVWTagData*>(core) : nullptr;
}

scene::TextureTagData* TextureDataOf(const TextureTag* tag)
{
	scene::NodeCore* core = CoreOf(tag);
	return core && core->type == Ttexture ? static_cast<scene::TextureTagData*>(core) : nullptr;
}

} // namespace

namespace scene
{

PlainTagData::~PlainTagData()
{
	if (pluginData)
	{
		const TagPluginHooks& hooks = GetTagPluginHooks();
		if (hooks.destroy)
			hooks.destroy(pluginData);
		pluginData = nullptr;
	}
}

NodeCore* PlainTagData::CloneSelf() const
{
	auto* copy = new PlainTagData(type);
	CopyBaseTo(*copy);
	if (!AttachPluginData(*copy))
	{
		delete copy;
		return nullptr;
	}
	return copy;
}

bool PlainTagData::HandleMessage(Int32 msg, void* payload)
{
	if (pluginData)
		return pluginData->Message(ApiOf<GeListNode>(this), msg, payload);
	return NodeCore::HandleMessage(msg, payload);
}

NodeCore* UVWTagData::CloneSelf() const
{
	auto* copy = new UVWTagData;
	CopyBaseTo(*copy);
	copy->uvw = uvw;
	return copy;
}

NodeCore* TextureTagData::CloneSelf() const
{
	auto* copy = new TextureTagData;
	CopyBaseTo(*copy);
	copy->materialSerial = materialSerial;
	return copy;
}

bool IsKnownTagType(Int32 type)
{
	if (type == Tuvw || type == Ttexture || type == Tphong || type == Tsurfaceproxy)
		return true;
	const TagPluginHooks& hooks = GetTagPluginHooks();
	Int32 info = 0;
	return hooks.info && hooks.info(type, &info);
}

NodeCore* MakeTagCore(Int32 type, Int32 uvwCount)
{
	if (!IsTagType(type) || uvwCount < 0 || uvwCount > kMaxElements)
		return nullptr;
	NodeCore* tag = nullptr;
	try
	{
		if (type == Tuvw)
		{
			auto* uvw = new UVWTagData;
			tag = uvw;
			uvw->uvw.resize(static_cast<size_t>(uvwCount));
		}
		else if (type == Ttexture)
		{
			tag = new TextureTagData;
		}
		else if (type == Tsurfaceproxy)
		{
			tag = new ProxyTagData;
		}
		else
		{
			auto* plain = new PlainTagData(type);
			tag = plain;
			if (!AttachPluginData(*plain))
			{
				delete plain;
				return nullptr;
			}
		}
		tag->name = DefaultTagName(type);
		return tag;
	}
	catch (const std::bad_alloc&)
	{
		delete tag;
		return nullptr;
	}
}

} // namespace scene

BaseTag* BaseTag::Alloc(Int32 type)
{
	return ApiOf<BaseTag>(scene::MakeTagCore(type, 0));
}

void BaseTag::Free(BaseTag*& tag)
{
	scene::DestroyNode(CoreOf(tag));
	tag = nullptr;
}

BaseTag* BaseTag::GetNext() const { return ApiOf<BaseTag>(CoreOf(this)->next); }
BaseTag* BaseTag::GetPred() const { return ApiOf<BaseTag>(CoreOf(this)->pred); }

BaseObject* BaseTag::GetObject() const
{
	const scene::NodeCore* core = CoreOf(this);
	return core->list ? ApiOf<BaseObject>(core->list->owner) : nullptr;
}

Int32 BaseTag::GetInfo() const
{
	const scene::TagPluginHooks& hooks = scene::GetTagPluginHooks();
	Int32 info = 0;
	if (hooks.info && hooks.info(GetType(), &info))
		return info;
	return kVisibleTagInfo;
}

UVWTag* UVWTag::Alloc(Int32 count)
{
	return ApiOf<UVWTag>(scene::MakeTagCore(Tuvw, count));
}

Int32 UVWTag::GetDataCount() const
{
	const scene::UVWTagData* data = UVWDataOf(this);
	return data ? static_cast<Int32>(data->uvw.size()) : 0;
}

UVWStruct UVWTag::GetSlow(Int32 i) const
{
	const scene::UVWTagData* data = UVWDataOf(this);
	if (!data || i < 0 || static_cast<size_t>(i) >= data->uvw.size())
		return UVWStruct();
	return data->uvw[static_cast<size_t>(i)];
}

void UVWTag::SetSlow(Int32 i, const UVWStruct& value)
{
	scene::UVWTagData* data = UVWDataOf(this);
	if (data && i >= 0 && static_cast<size_t>(i) < data->uvw.size())
		data->uvw[static_cast<size_t>(i)] = value;
}

TextureTag* TextureTag::Alloc()
{
	return ApiOf<TextureTag>(scene::MakeTagCore(Ttexture, 0));
}

BaseMaterial* TextureTag::GetMaterial() const
{
	const scene::TextureTagData* data = TextureDataOf(this);
	scene::NodeCore* mat = data ? scene::NodeBySerial(data->materialSerial) : nullptr;
	return mat && mat->family == scene::Family::Material ? ApiOf<BaseMaterial>(mat) : nullptr;
}

void TextureTag::SetMaterial(BaseMaterial* mat)
{
	scene::TextureTagData* data = TextureDataOf(this);
	const scene::NodeCore* core = CoreOf(mat);
	if (data)
		data->materialSerial = core && core->family == scene::Family::Material ? core->serial : 0;
}
