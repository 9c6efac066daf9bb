// Materials and layers.
#include <new>

#include "scene/material_data.h"

using scene::ApiOf;
using scene::CoreOf;

namespace scene
{

NodeCore* MaterialData::CloneSelf() const
{
	auto* copy = new MaterialData(type);
	CopyBaseTo(*copy);
	copy->layerSerial = layerSerial;
	return copy;
}

NodeCore* LayerData::CloneSelf() const
{
	auto* copy = new LayerData;
	CopyBaseTo(*copy);
	return copy;
}

BaseList2D* ResolveLayer(UInt64 serial)
{
	NodeCore* layer = NodeBySerial(serial);
	return layer && layer->family == Family::Layer ? ApiOf<BaseList2D>(layer) : nullptr;
}

bool LayerSerial(BaseList2D* layer, UInt64* serial)
{
	const NodeCore* core = CoreOf(layer);
	if (core && core->family != Family::Layer)
		return false;
	*serial = core ? core->serial : 0;
	return true;
}

} // namespace scene

BaseMaterial* BaseMaterial::Alloc(Int32 type)
{
	if (type == Mbase)
		type = Mmaterial;
	if (type != Mmaterial)
		return nullptr;
	try
	{
		auto* mat = new scene::MaterialData(type);
		mat->name = "Mat";
		return mat;
	}
	catch (const std::bad_alloc&)
	{
		return nullptr;
	}
}

void BaseMaterial::Free(BaseMaterial*& mat)
{
	scene::DestroyNode(CoreOf(mat));
	mat = nullptr;
}

BaseMaterial* BaseMaterial::GetNext() const { return ApiOf<BaseMaterial>(CoreOf(this)->next); }
BaseMaterial* BaseMaterial::GetPred() const { return ApiOf<BaseMaterial>(CoreOf(this)->pred); }

BaseList2D* BaseMaterial::GetLayerObject() const
{
	return scene::ResolveLayer(static_cast<const scene::MaterialData*>(this)->layerSerial);
}

void BaseMaterial::SetLayerObject(BaseList2D* layer)
{
	scene::LayerSerial(layer, &static_cast<scene::MaterialData*>(this)->layerSerial);
}

LayerObject* LayerObject::Alloc()
{
	try
	{
		auto* layer = new scene::LayerData;
		layer->name = "Layer";
		return layer;
	}
	catch (const std::bad_alloc&)
	{
		return nullptr;
	}
}

void LayerObject::Free(LayerObject*& layer)
{
	scene::DestroyNode(CoreOf(layer));
	layer = nullptr;
}

LayerObject* LayerObject::GetNext() const { return ApiOf<LayerObject>(CoreOf(this)->next); }
LayerObject* LayerObject::GetPred() const { return ApiOf<LayerObject>(CoreOf(this)->pred); }
LayerObject* LayerObject::GetUp() const { return ApiOf<LayerObject>(CoreOf(this)->Up()); }
LayerObject* LayerObject::GetDown() const { return ApiOf<LayerObject>(CoreOf(this)->children.first); }
