// Materials and layers as the host keeps them.
#pragma once

#include "hostapi/document.h"
#include "scene/node_data.h"

namespace scene
{

struct MaterialData final : Element<BaseMaterial>
{
	explicit MaterialData(Int32 t) : Element<BaseMaterial>(t, Family::Material) {}
	NodeCore* CloneSelf() const override;
	bool IsInstanceOf(Int32 t) const override { return t == type || t == Mbase; }
	void ForEachLinkSerial(const std::function<void(UInt64&)>& fn) override { fn(layerSerial); }

	UInt64 layerSerial = 0; // 0: no layer
};

struct LayerData final : Element<LayerObject>
{
	LayerData() : Element<LayerObject>(Olayer, Family::Layer) { children.family = Family::Layer; }
	NodeCore* CloneSelf() const override;
};

// The layer an element names, when it still exists.
BaseList2D* ResolveLayer(UInt64 serial);
// The serial to store for a layer; false when the element is not a layer.
bool LayerSerial(BaseList2D* layer, UInt64* serial);

} // namespace scene
