// Writing a document file. The scene is checked first against what the reader accepts
// (document_rules.h): a save that succeeds makes a file that opens, and a refused one leaves the
// file on disk as it was.
#include <algorithm>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/bytes.h"
#include "data/serialize.h"
#include "docio/document_format.h"
#include "docio/document_links.h"
#include "docio/document_rules.h"
#include "file/atomic_write.h"
#include "file/hyperfile_format.h"
#include "scene/document_data.h"
#include "scene/material_data.h"
#include "scene/object_data.h"
#include "scene/tag_data.h"
#include "standin/documents.h"

namespace standin::docio
{

namespace
{

using data::ByteWriter;
using scene::NodeCore;

// One element of the tree walks below, with its depth.
struct Placed
{
	NodeCore* node = nullptr;
	std::uint32_t depth = 0;
};

// Depth-first order of a tree whose top level is head (children, then next siblings).
void WalkTree(const scene::ListHead& head, std::vector<Placed>& out)
{
	std::vector<NodeCore*> parents;
	NodeCore* node = head.first;
	while (node)
	{
		out.push_back({node, static_cast<std::uint32_t>(parents.size())});
		if (node->children.first)
		{
			parents.push_back(node);
			node = node->children.first;
			continue;
		}
		while (node && !node->next)
		{
			if (parents.empty())
				node = nullptr;
			else
			{
				node = parents.back();
				parents.pop_back();
			}
		}
		if (node)
			node = node->next;
	}
}

class Writer
{
public:
	Writer(std::vector<std::uint8_t>& out, const std::unordered_map<UInt64, UInt64>& refs) : _w(out), _refs(refs) {}

	bool ok = true;
	// Why the scene cannot be stored as it is; the first reason found.
	std::string problem;

	void String(const ::String& s)
	{
		_w.U32(static_cast<std::uint32_t>(s.Get().size()));
		_w.Bytes(s.Get().data(), s.Get().size());
	}

	void Vector(const ::Vector& v)
	{
		_w.F64(v.x);
		_w.F64(v.y);
		_w.F64(v.z);
	}

	void Matrix(const ::Matrix& m)
	{
		Vector(m.off);
		Vector(m.v1);
		Vector(m.v2);
		Vector(m.v3);
	}

	void Ref(UInt64 serial)
	{
		const auto found = serial ? _refs.find(serial) : _refs.end();
		_w.U64(found == _refs.end() ? 0 : found->second);
	}

	void Node(const NodeCore& node)
	{
		String(node.name);
		_w.U64(node.bits);
		std::vector<std::uint8_t> bytes;
		const BaseContainer stored = LinksToRefs(node.data, _refs);
		if (data::NestsTooDeeply(stored) && problem.empty())
			problem = "the parameters of " + Quoted(node.name) + " nest containers more than " +
				std::to_string(data::kMaxContainerDepth) + " deep";
		if (!data::EncodeContainer(stored, bytes))
			ok = false;
		_w.U32(static_cast<std::uint32_t>(bytes.size()));
		_w.Bytes(bytes.data(), bytes.size());
		_w.U32(static_cast<std::uint32_t>(node.uniqueIds.size()));
		for (const scene::UniqueIdEntry& entry : node.uniqueIds)
		{
			_w.I32(entry.appId);
			_w.U32(static_cast<std::uint32_t>(entry.bytes.size()));
			_w.Bytes(entry.bytes.data(), entry.bytes.size());
		}
	}

	// Only what names one of the size elements: a selection keeps indices that a shrinking
	// resize left behind, and the reader refuses those.
	void Selection(const scene::BaseSelectData& sel, Int64 size)
	{
		const auto beyond = std::find_if(sel.ranges.begin(), sel.ranges.end(), [size](const auto& r) { return r.first >= size; });
		_w.U32(static_cast<std::uint32_t>(beyond - sel.ranges.begin()));
		for (auto range = sel.ranges.begin(); range != beyond; ++range)
		{
			_w.I32(range->first);
			_w.I32(static_cast<Int32>(std::min<Int64>(range->second, size - 1)));
		}
	}

	// Items made of f64 or i32 fields only, stored field by field in the order of the struct. On
	// a little-endian machine that is the bytes of the array as they are.
	template <typename T, typename Fields>
	void Array(const std::vector<T>& items, Fields&& fields)
	{
		if constexpr (std::endian::native == std::endian::little)
			_w.Bytes(items.data(), items.size() * sizeof(T));
		else
			for (const T& item : items)
				fields(item);
	}

	void Points(const std::vector<::Vector>& points)
	{
		static_assert(sizeof(::Vector) == 24);
		_w.U32(static_cast<std::uint32_t>(points.size()));
		Array(points, [this](const ::Vector& p) { Vector(p); });
	}

	void Tag(NodeCore& tag)
	{
		_w.I32(tag.type);
		Node(tag);
		if (tag.type == Tuvw)
		{
			static_assert(sizeof(UVWStruct) == 96);
			const auto& uvw = static_cast<scene::UVWTagData&>(tag).uvw;
			_w.U32(static_cast<std::uint32_t>(uvw.size()));
			Array(uvw, [this](const UVWStruct& u) {
				Vector(u.a);
				Vector(u.b);
				Vector(u.c);
				Vector(u.d);
			});
		}
		else if (tag.type == Ttexture)
			Ref(static_cast<scene::TextureTagData&>(tag).materialSerial);
	}

	void Object(const Placed& placed)
	{
		NodeCore& node = *placed.node;
		const scene::ObjectState& state = *node.AsObject();
		_w.U32(placed.depth);
		_w.I32(node.type);
		Node(node);
		Matrix(state.ml);
		_w.U64(state.guid);
		_w.I32(state.editorMode);
		_w.I32(state.renderMode);
		Ref(state.layerSerial);
		if (node.type == Opolygon)
		{
			const auto& poly = static_cast<scene::PolygonObjectData&>(node);
			Points(poly.points);
			static_assert(sizeof(CPolygon) == 16);
			_w.U32(static_cast<std::uint32_t>(poly.polygons.size()));
			Array(poly.polygons, [this](const CPolygon& p) {
				_w.I32(p.a);
				_w.I32(p.b);
				_w.I32(p.c);
				_w.I32(p.d);
			});
			const auto polygons = static_cast<Int64>(poly.polygons.size());
			Selection(poly.pointSelection, static_cast<Int64>(poly.points.size()));
			Selection(poly.polygonSelection, polygons);
			Selection(poly.edgeSelection, 4 * polygons);
		}
		else if (node.type == Ospline)
		{
			const auto& spline = static_cast<scene::SplineObjectData&>(node);
			_w.I32(spline.splineType);
			Points(spline.points);
			_w.U32(static_cast<std::uint32_t>(spline.curves.size()));
			for (Int32 count : spline.curves)
				_w.I32(count);
		}
		std::vector<NodeCore*> tags;
		for (NodeCore* tag = state.tags.first; tag; tag = tag->next)
			tags.push_back(tag);
		_w.U32(static_cast<std::uint32_t>(tags.size()));
		for (NodeCore* tag : tags)
			Tag(*tag);
	}

	ByteWriter& Raw() { return _w; }

private:
	ByteWriter _w;
	const std::unordered_map<UInt64, UInt64>& _refs;
};

// Roughly the bytes the objects take, so that the body is allocated once for a big mesh instead
// of growing (and being copied) a few times on the way.
size_t EstimatedBytes(const std::vector<Placed>& objects)
{
	size_t bytes = 1024;
	for (const Placed& placed : objects)
	{
		bytes += 256 + placed.node->name.Get().size();
		if (const auto* poly = scene::PolygonDataOf(placed.node->self))
			bytes += poly->points.size() * 24 + poly->polygons.size() * 16;
		else if (const auto* spline = scene::SplineDataOf(placed.node->self))
			bytes += spline->points.size() * 24 + spline->curves.size() * 4;
		for (NodeCore* tag = placed.node->AsObject()->tags.first; tag; tag = tag->next)
			bytes += 64 + (tag->type == Tuvw ? static_cast<scene::UVWTagData*>(tag)->uvw.size() * 96 : 0);
	}
	return bytes;
}

// Why the reader would refuse the document as it stands; empty when it would open it.
std::string Unstorable(const scene::DocumentData& doc, const std::vector<Placed>& objects)
{
	if (!ValidEditingMode(doc.mode))
		return "unknown editing mode " + std::to_string(doc.mode);
	// World matrices as the reader composes them: the parent's world times the object's own.
	std::vector<::Matrix> worlds;
	for (const Placed& placed : objects)
	{
		const ::Matrix& ml = placed.node->AsObject()->ml;
		worlds.resize(placed.depth);
		const ::Matrix world = placed.depth == 0 ? ml : worlds.back() * ml;
		const std::string problem = ObjectProblem(*placed.node, world);
		if (!problem.empty())
			return "object " + Quoted(placed.node->name) + ": " + problem;
		worlds.push_back(world);
	}
	return {};
}

// Appends the document's encoding to body. False with *problem set when the reader would refuse
// what it holds, with *problem empty when memory ran short.
bool Encode(scene::DocumentData& doc, std::vector<std::uint8_t>& body, std::string* problem)
{
	std::vector<Placed> layers;
	std::vector<Placed> objects;
	WalkTree(doc.layers, layers);
	WalkTree(doc.children, objects);
	*problem = Unstorable(doc, objects);
	if (!problem->empty())
		return false;
	body.reserve(body.size() + EstimatedBytes(objects));
	std::vector<NodeCore*> materials;
	for (NodeCore* mat = doc.materials.first; mat; mat = mat->next)
		materials.push_back(mat);

	// Refs in file order: layers, materials, objects each followed by its tags.
	std::unordered_map<UInt64, UInt64> refs;
	UInt64 next = 1;
	for (const Placed& layer : layers)
		refs[layer.node->serial] = next++;
	for (NodeCore* mat : materials)
		refs[mat->serial] = next++;
	for (const Placed& object : objects)
	{
		refs[object.node->serial] = next++;
		for (NodeCore* tag = object.node->AsObject()->tags.first; tag; tag = tag->next)
			refs[tag->serial] = next++;
	}

	Writer w(body, refs);
	w.Raw().U32(kDocumentVersion);
	w.Raw().I32(doc.mode);
	w.Node(doc);
	w.Raw().U32(static_cast<std::uint32_t>(layers.size()));
	for (const Placed& layer : layers)
	{
		w.Raw().U32(layer.depth);
		w.Node(*layer.node);
	}
	w.Raw().U32(static_cast<std::uint32_t>(materials.size()));
	for (NodeCore* mat : materials)
	{
		w.Raw().I32(mat->type);
		w.Node(*mat);
		w.Ref(static_cast<scene::MaterialData*>(mat)->layerSerial);
	}
	w.Raw().U32(static_cast<std::uint32_t>(objects.size()));
	for (const Placed& object : objects)
		w.Object(object);
	*problem = w.problem;
	return w.ok && problem->empty();
}

} // namespace

} // namespace standin::docio

namespace standin
{

bool SaveDocument(BaseDocument* doc, const std::string& path, std::string* error)
{
	scene::DocumentData* data = scene::DocumentDataOf(doc);
	if (!data)
	{
		*error = "no document to save";
		return false;
	}
	try
	{
		// The payload is the one document record: its head (kind, length) is written first and
		// its length filled in once the body is there, so the body is never copied into a
		// separate payload.
		std::vector<std::uint8_t> payload;
		data::ByteWriter head(payload);
		head.U32(docio::kRecordDocument);
		head.U32(0);
		std::string problem;
		if (!docio::Encode(*data, payload, &problem))
		{
			*error = problem.empty() ? "the document could not be encoded (out of memory)"
									 : "the document cannot be saved, a file of it would not open again: " + problem + " (nothing was written)";
			return false;
		}
		const size_t bodyBytes = payload.size() - file::kRecordHeaderBytes;
		if (payload.size() > file::kMaxDocumentPayload)
		{
			*error = "the document is too large for a document file (" + std::to_string(payload.size() >> 20) +
				" MiB; at most " + std::to_string(file::kMaxDocumentPayload >> 20) + " MiB)";
			return false;
		}
		head.PatchU32(4, static_cast<std::uint32_t>(bodyBytes));
		// Header and payload go to the file one after the other, so a big document is never
		// held twice.
		std::vector<std::uint8_t> header;
		file::BuildHyperFileHeader(docio::kDocumentIdent, payload, &header);
		file::AtomicFile out;
		return out.Begin(path, error) && out.Write(header.data(), header.size(), error) &&
			out.Write(payload.data(), payload.size(), error) && out.Commit(error);
	}
	catch (const std::bad_alloc&)
	{
		*error = "the document could not be encoded (out of memory)";
		return false;
	}
}

} // namespace standin
