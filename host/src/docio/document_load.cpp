// Reading a document file. Nothing in the file is trusted: every count is checked against the
// bytes that remain before anything is allocated for it, every index against what it indexes,
// and a damaged file opens nothing.
//
// A document that opens is one the host could have made: object types it does not know, numbers
// that are not finite (points, matrices, texture coordinates, and world matrices that overflow
// when composed), unknown modes are refused (document_rules.h; the writer checks the same before
// it writes). A few things that files written by the host itself may hold are repaired instead,
// and the console says so: object names that are empty, contain '/' or repeat a sibling's and
// material names that are empty or repeat another material's get a unique one (a name must
// name one element), identities that repeat an earlier object's (or lie outside the host's
// range) get a fresh one, a UVW tag whose record count differs from its object's polygon count
// is cut or padded with zeros, and a tag of a type this run does not know (its plug-in is not
// loaded) is left out, so that the rest of the scene still opens.
#include <algorithm>
#include <bit>
#include <cstring>
#include <new>
#include <string>
#include <unordered_set>
#include <vector>

#include "data/bytes.h"
#include "data/serialize.h"
#include "docio/document_format.h"
#include "docio/document_links.h"
#include "docio/document_rules.h"
#include "hostapi/console.h"
#include "file/hyperfile_format.h"
#include "scene/document_data.h"
#include "scene/material_data.h"
#include "scene/object_data.h"
#include "scene/tag_data.h"
#include "standin/documents.h"
#include "standin/printable.h"
#include "standin/scene.h"

namespace standin::docio
{

namespace
{

using scene::NodeCore;

// Identities this host hands out lie below this; a file's identity at or above it would make
// this run's counter wrap.
constexpr UInt64 kIdentityLimit = UInt64{1} << 63;

// Destroys an element that is not (yet) linked into the document.
struct Loose
{
	NodeCore* node = nullptr;
	~Loose()
	{
		if (node)
			scene::DestroyNode(node);
	}
	NodeCore* Release()
	{
		NodeCore* n = node;
		node = nullptr;
		return n;
	}
};

class Reader
{
public:
	Reader(const std::uint8_t* data, size_t size) : _r(data, size) {}

	std::string error;
	// Every element made so far, in file order (refs index it).
	std::vector<NodeCore*> elements;
	// Containers whose link cells must become links once every element exists.
	std::vector<NodeCore*> withContainers;
	// World matrices of the objects in the parents list of Object().
	std::vector<Matrix> worlds;
	// Names of the objects read so far at each depth below the current chain of parents.
	std::vector<std::unordered_set<std::string>> siblingNames;
	std::unordered_set<std::string> materialNames;
	std::unordered_set<UInt64> identities;
	std::vector<NodeCore*> needIdentity;
	// Names given in place of the file's, counted and the first one shown.
	struct Renames
	{
		size_t count = 0;
		std::string first;
	};
	Renames objectsRenamed;
	Renames materialsRenamed;
	size_t uvwFitted = 0;
	size_t tagsLeftOut = 0;
	std::vector<Int32> leftOutTypes; // distinct, in the order met

	bool Fail(const std::string& what)
	{
		if (error.empty())
			error = what + " (at byte " + std::to_string(_r.Position()) + ")";
		return false;
	}

	bool U32(std::uint32_t* v) { return _r.U32(v) || Fail("cut short"); }
	bool I32(Int32* v) { return _r.I32(v) || Fail("cut short"); }
	bool U64(std::uint64_t* v) { return _r.U64(v) || Fail("cut short"); }

	// A count of items of at least itemBytes each; refused when the rest of the file cannot hold them.
	bool Count(size_t itemBytes, std::uint32_t limit, std::uint32_t* count, const char* what)
	{
		if (!U32(count))
			return false;
		if (*count > limit || static_cast<std::uint64_t>(*count) * itemBytes > _r.Remaining())
			return Fail(std::string("impossible ") + what + " count " + std::to_string(*count));
		return true;
	}

	bool Real(Float* v) { return _r.F64(v) || Fail("cut short"); }

	bool Vec(Vector* v) { return Real(&v->x) && Real(&v->y) && Real(&v->z); }

	// count items of f64 or i32 fields only, stored field by field in the order of the struct:
	// on a little-endian machine the bytes are the array as it is. The count was checked against
	// the bytes that remain.
	template <typename T, typename Fields>
	bool Array(std::vector<T>& items, std::uint32_t count, Fields&& fields)
	{
		items.resize(count);
		if constexpr (std::endian::native == std::endian::little)
		{
			const std::uint8_t* bytes = nullptr;
			if (!_r.View(static_cast<size_t>(count) * sizeof(T), &bytes))
				return Fail("cut short");
			if (count)
				std::memcpy(items.data(), bytes, static_cast<size_t>(count) * sizeof(T));
			return true;
		}
		for (T& item : items)
			if (!fields(item))
				return false;
		return true;
	}

	bool Mat(Matrix* m) { return Vec(&m->off) && Vec(&m->v1) && Vec(&m->v2) && Vec(&m->v3); }

	bool Text(String* s)
	{
		std::uint32_t size = 0;
		const std::uint8_t* bytes = nullptr;
		if (!Count(1, 0xffffffffu, &size, "text length") || !_r.View(size, &bytes))
			return Fail("cut short");
		*s = String(std::string(reinterpret_cast<const char*>(bytes), size));
		return true;
	}

	bool Node(NodeCore& node)
	{
		if (!Text(&node.name) || !U64(&node.bits))
			return false;
		std::uint32_t size = 0;
		const std::uint8_t* bytes = nullptr;
		if (!Count(1, 0xffffffffu, &size, "container length") || !_r.View(size, &bytes))
			return false;
		BaseContainer bc;
		std::string problem;
		if (!data::DecodeContainer(bytes, size, &bc, &problem))
			return Fail("damaged parameters: " + problem);
		node.data = std::move(bc);
		withContainers.push_back(&node);
		std::uint32_t ids = 0;
		if (!Count(8, 1u << 20, &ids, "unique-ID"))
			return false;
		node.uniqueIds.clear();
		for (std::uint32_t i = 0; i < ids; ++i)
		{
			scene::UniqueIdEntry entry;
			std::uint32_t length = 0;
			const std::uint8_t* idBytes = nullptr;
			if (!I32(&entry.appId) || !Count(1, 0xffffffffu, &length, "unique-ID length") || !_r.View(length, &idBytes))
				return false;
			entry.bytes.assign(idBytes, idBytes + length);
			// Markers made with an earlier run's counter must not be handed out again.
			scene::NoteRestoredUniqueId(entry.appId);
			node.uniqueIds.push_back(std::move(entry));
		}
		return true;
	}

	// A ref to an element read before this point, of the given family; 0 gives serial 0.
	bool Ref(scene::Family family, UInt64* serial)
	{
		std::uint64_t ref = 0;
		if (!U64(&ref))
			return false;
		if (ref == 0)
		{
			*serial = 0;
			return true;
		}
		if (ref > elements.size() || !elements[ref - 1] || elements[ref - 1]->family != family)
			return Fail("reference " + std::to_string(ref) + " names no element of the right kind");
		*serial = elements[ref - 1]->serial;
		return true;
	}

	bool Points(std::vector<Vector>& points)
	{
		std::uint32_t count = 0;
		if (!Count(24, static_cast<std::uint32_t>(scene::kMaxElements), &count, "point"))
			return false;
		static_assert(sizeof(Vector) == 24);
		if (!Array(points, count, [this](Vector& p) { return Vec(&p); }))
			return false;
		for (const Vector& p : points)
			if (!Finite(p))
				return Fail("point " + std::to_string(&p - points.data()) + " is not a finite number");
		return true;
	}

	bool Selection(scene::BaseSelectData& sel, Int64 size)
	{
		std::uint32_t count = 0;
		if (!Count(8, static_cast<std::uint32_t>(scene::kMaxElements), &count, "selection range"))
			return false;
		sel.Clear();
		Int64 previousLast = -2;
		for (std::uint32_t i = 0; i < count; ++i)
		{
			Int32 first = 0;
			Int32 last = 0;
			if (!I32(&first) || !I32(&last))
				return false;
			// Ranges are ascending, disjoint and never touch, as the host keeps them.
			if (first < 0 || last < first || last >= size || first <= previousLast + 1)
				return Fail("selection range " + std::to_string(first) + ".." + std::to_string(last) + " is out of order or out of range");
			sel.ranges.emplace_back(first, last);
			sel.count += static_cast<Int64>(last) - first + 1;
			previousLast = last;
		}
		return true;
	}

	bool PolygonData(scene::PolygonObjectData& poly)
	{
		if (!Points(poly.points))
			return false;
		std::uint32_t count = 0;
		if (!Count(16, static_cast<std::uint32_t>(scene::kMaxElements), &count, "polygon"))
			return false;
		static_assert(sizeof(CPolygon) == 16);
		if (!Array(poly.polygons, count, [this](CPolygon& p) { return I32(&p.a) && I32(&p.b) && I32(&p.c) && I32(&p.d); }))
			return false;
		const auto points = static_cast<Int32>(poly.points.size());
		for (const CPolygon& p : poly.polygons)
			for (Int32 index : {p.a, p.b, p.c, p.d})
				if (index < 0 || index >= points)
					return Fail("polygon corner " + std::to_string(index) + " names no point");
		return Selection(poly.pointSelection, points) && Selection(poly.polygonSelection, count) &&
			Selection(poly.edgeSelection, 4 * static_cast<Int64>(count));
	}

	bool Tag(NodeCore& object)
	{
		Int32 type = 0;
		if (!I32(&type))
			return false;
		if (!scene::IsKnownTagType(type))
			return LeaveOutTag(type);
		Loose tag{scene::MakeTagCore(type, 0)};
		if (!tag.node)
			return Fail("tag type " + std::to_string(type) + " cannot be made");
		if (!Node(*tag.node))
			return false;
		if (type == Tuvw)
		{
			std::uint32_t count = 0;
			if (!Count(96, static_cast<std::uint32_t>(scene::kMaxElements), &count, "UVW"))
				return false;
			static_assert(sizeof(UVWStruct) == 96);
			auto& uvw = static_cast<scene::UVWTagData*>(tag.node)->uvw;
			if (!Array(uvw, count, [this](UVWStruct& u) { return Vec(&u.a) && Vec(&u.b) && Vec(&u.c) && Vec(&u.d); }))
				return false;
			for (const UVWStruct& u : uvw)
				if (!Finite(u.a) || !Finite(u.b) || !Finite(u.c) || !Finite(u.d))
					return Fail("UVW record " + std::to_string(&u - uvw.data()) + " of object " + Quoted(object.name) + " is not a finite number");
			// One record per polygon, as the host keeps them.
			const scene::PolygonObjectData* poly = scene::PolygonDataOf(scene::ApiOf<GeListNode>(&object));
			const size_t polygons = poly ? poly->polygons.size() : 0;
			if (uvw.size() != polygons)
			{
				uvw.resize(polygons);
				++uvwFitted;
			}
		}
		else if (type == Ttexture)
		{
			if (!Ref(scene::Family::Material, &static_cast<scene::TextureTagData*>(tag.node)->materialSerial))
				return false;
		}
		if (!scene::LinkLast(tag.node, object.AsObject()->tags))
			return Fail("tag could not be attached");
		elements.push_back(tag.Release());
		return true;
	}

	// A tag of a type this run does not know: its plug-in is not loaded. Such a tag holds only
	// what every element has (the node), so it is read past and left out; it keeps its place in
	// the refs, and links to it come back empty.
	bool LeaveOutTag(Int32 type)
	{
		String name;
		std::uint64_t bits = 0;
		std::uint32_t size = 0;
		const std::uint8_t* bytes = nullptr;
		std::uint32_t ids = 0;
		if (!Text(&name) || !U64(&bits) || !Count(1, 0xffffffffu, &size, "container length") || !_r.View(size, &bytes) ||
			!Count(8, 1u << 20, &ids, "unique-ID"))
			return false;
		for (std::uint32_t i = 0; i < ids; ++i)
		{
			Int32 appId = 0;
			std::uint32_t length = 0;
			if (!I32(&appId) || !Count(1, 0xffffffffu, &length, "unique-ID length") || !_r.View(length, &bytes))
				return false;
		}
		elements.push_back(nullptr);
		++tagsLeftOut;
		if (std::find(leftOutTypes.begin(), leftOutTypes.end(), type) == leftOutTypes.end())
			leftOutTypes.push_back(type);
		return true;
	}

	// Gives node a name that is not in taken, and takes it: defaultName for an empty one, '_'
	// for each '/' when slashes are not allowed, then " 2", " 3", ... until it is free.
	static void MakeNameUnique(NodeCore& node, const std::string& defaultName, bool slashes,
		std::unordered_set<std::string>& taken, Renames& renames)
	{
		std::string name = node.name.Get().empty() ? defaultName : node.name.Get();
		if (!slashes)
			for (char& c : name)
				if (c == '/')
					c = '_';
		if (taken.count(name))
		{
			const std::string stem = name;
			for (size_t k = 2; taken.count(name); ++k)
				name = stem + " " + std::to_string(k);
		}
		if (name != node.name.Get())
		{
			if (renames.count++ == 0)
				renames.first = Quoted(node.name) + " became " + Quoted(String(name));
			node.name = String(name);
		}
		taken.insert(name);
	}

	// An object's name is unique among the siblings read so far at its depth (name paths must
	// name one object) and holds no '/'.
	void MakeObjectNameUnique(NodeCore& node, const std::string& defaultName, size_t depth)
	{
		siblingNames.resize(depth + 1);
		MakeNameUnique(node, defaultName, false, siblingNames[depth], objectsRenamed);
		// The next object one level down is the first child of this one.
		siblingNames.emplace_back();
	}

	bool Object(std::vector<NodeCore*>& parents, scene::DocumentData& doc)
	{
		std::uint32_t depth = 0;
		Int32 type = 0;
		if (!U32(&depth) || !I32(&type))
			return false;
		if (depth > parents.size())
			return Fail("object depth " + std::to_string(depth) + " skips a level");
		if (!scene::IsHostObjectType(type))
			return Fail("object type " + std::to_string(type) + " is not known");
		Loose object;
		if (type == Opolygon)
			object.node = scene::CoreOf(PolygonObject::Alloc(0, 0));
		else if (type == Ospline)
			object.node = scene::CoreOf(SplineObject::Alloc(0, SPLINETYPE_LINEAR));
		else
			object.node = scene::CoreOf(BaseObject::Alloc(type));
		if (!object.node)
			return Fail("out of memory");
		const std::string defaultName = object.node->name.Get();
		if (!Node(*object.node))
			return false;
		scene::ObjectState& state = *object.node->AsObject();
		std::uint64_t guid = 0;
		if (!Mat(&state.ml) || !U64(&guid) || !I32(&state.editorMode) || !I32(&state.renderMode) ||
			!Ref(scene::Family::Layer, &state.layerSerial))
			return false;
		if (!Finite(state.ml))
			return Fail("the matrix of object " + Quoted(object.node->name) + " is not finite");
		if (!ValidVisibility(state.editorMode) || !ValidVisibility(state.renderMode))
			return Fail("object " + Quoted(object.node->name) + " has an unknown visibility mode");
		if (type == Opolygon && !PolygonData(*static_cast<scene::PolygonObjectData*>(object.node)))
			return false;
		if (type == Ospline)
		{
			auto& spline = *static_cast<scene::SplineObjectData*>(object.node);
			if (!I32(&spline.splineType) || !Points(spline.points))
				return false;
			if (!ValidSplineType(spline.splineType))
				return Fail("unknown spline type " + std::to_string(spline.splineType));
			if (_version >= 2 && !Curves(spline))
				return false;
		}

		parents.resize(depth);
		worlds.resize(depth);
		const Matrix world = depth == 0 ? state.ml : worlds.back() * state.ml;
		if (!Finite(world))
			return Fail("the world matrix of object " + Quoted(object.node->name) + " overflows");
		MakeObjectNameUnique(*object.node, defaultName, depth);
		scene::ListHead& list = depth == 0 ? doc.children : parents.back()->children;
		if (!scene::LinkLast(object.node, list))
			return Fail("object could not be placed");
		NodeCore* placed = object.Release();
		if (guid == 0 || guid >= kIdentityLimit || !identities.insert(guid).second)
			needIdentity.push_back(placed);
		else
			scene::SetObjectGuid(scene::ApiOf<BaseObject>(placed), guid);
		elements.push_back(placed);
		parents.push_back(placed);
		worlds.push_back(world);

		std::uint32_t tags = 0;
		if (!Count(4, 1u << 20, &tags, "tag"))
			return false;
		for (std::uint32_t i = 0; i < tags; ++i)
			if (!Tag(*placed))
				return false;
		return true;
	}

	// What was repaired, for the console; empty when nothing was.
	std::string Repairs() const
	{
		std::string out;
		auto add = [&out](const std::string& what) { out += (out.empty() ? "" : "; ") + what; };
		if (objectsRenamed.count)
			add(std::to_string(objectsRenamed.count) + " object(s) renamed because their names were empty, held '/' or repeated a sibling's (" +
				objectsRenamed.first + (objectsRenamed.count > 1 ? ", ..." : "") + ")");
		if (materialsRenamed.count)
			add(std::to_string(materialsRenamed.count) + " material(s) renamed because their names were empty or repeated another material's (" +
				materialsRenamed.first + (materialsRenamed.count > 1 ? ", ..." : "") + ")");
		if (!needIdentity.empty())
			add(std::to_string(needIdentity.size()) + " object(s) given a new identity because theirs repeated an earlier object's or was out of range");
		if (uvwFitted)
			add(std::to_string(uvwFitted) + " UVW tag(s) fitted to their object's polygon count");
		if (tagsLeftOut)
		{
			std::string types;
			for (size_t i = 0; i < leftOutTypes.size() && i < 3; ++i)
				types += (i ? ", " : "") + std::to_string(leftOutTypes[i]);
			add(std::to_string(tagsLeftOut) + " tag(s) of unknown type left out (type " + types + (leftOutTypes.size() > 3 ? ", ..." : "") +
				"; is the plug-in that made them not loaded?)");
		}
		return out;
	}

	bool Document(scene::DocumentData& doc)
	{
		std::uint32_t version = 0;
		if (!U32(&version))
			return false;
		if (version < kOldestDocumentVersion || version > kDocumentVersion)
			return Fail("unknown document version " + std::to_string(version));
		_version = version;
		if (!I32(&doc.mode) || !Node(doc))
			return false;
		if (!ValidEditingMode(doc.mode))
			return Fail("unknown editing mode " + std::to_string(doc.mode));

		std::uint32_t count = 0;
		if (!Count(4, 0xffffffffu, &count, "layer"))
			return false;
		std::vector<NodeCore*> parents;
		for (std::uint32_t i = 0; i < count; ++i)
		{
			std::uint32_t depth = 0;
			if (!U32(&depth))
				return false;
			if (depth > parents.size())
				return Fail("layer depth " + std::to_string(depth) + " skips a level");
			Loose layer{scene::CoreOf(LayerObject::Alloc())};
			if (!layer.node)
				return Fail("out of memory");
			if (!Node(*layer.node))
				return false;
			parents.resize(depth);
			scene::ListHead& list = depth == 0 ? doc.layers : parents.back()->children;
			if (!scene::LinkLast(layer.node, list))
				return Fail("layer could not be placed");
			parents.push_back(layer.node);
			elements.push_back(layer.Release());
		}

		if (!Count(4, 0xffffffffu, &count, "material"))
			return false;
		for (std::uint32_t i = 0; i < count; ++i)
		{
			Int32 type = 0;
			if (!I32(&type))
				return false;
			Loose mat{scene::CoreOf(BaseMaterial::Alloc(type))};
			if (!mat.node)
				return Fail("material type " + std::to_string(type) + " cannot be made");
			const std::string defaultName = mat.node->name.Get();
			if (!Node(*mat.node) || !Ref(scene::Family::Layer, &static_cast<scene::MaterialData*>(mat.node)->layerSerial))
				return false;
			// Materials are found by name; '/' is allowed in one.
			MakeNameUnique(*mat.node, defaultName, true, materialNames, materialsRenamed);
			if (!scene::LinkLast(mat.node, doc.materials))
				return Fail("material could not be placed");
			elements.push_back(mat.Release());
		}

		if (!Count(4, 0xffffffffu, &count, "object"))
			return false;
		parents.clear();
		for (std::uint32_t i = 0; i < count; ++i)
			if (!Object(parents, doc))
				return false;
		if (_r.Remaining() != 0)
			return Fail("unexpected bytes after the document");
		// Only now, above every identity the file restored, so a fresh one repeats none of them.
		for (NodeCore* node : needIdentity)
			node->AsObject()->guid = scene::NextObjectGuid();

		for (NodeCore* node : withContainers)
			RefsToLinks(node->data, elements);
		return true;
	}

private:
	// The point counts of a spline's curves: each at least 1, adding up to the point count.
	bool Curves(scene::SplineObjectData& spline)
	{
		std::uint32_t count = 0;
		if (!Count(4, static_cast<std::uint32_t>(scene::kMaxElements), &count, "curve"))
			return false;
		std::vector<Int32> curves(count);
		Int64 sum = 0;
		for (Int32& c : curves)
		{
			if (!I32(&c))
				return false;
			if (c < 1)
				return Fail("a curve of " + std::to_string(c) + " points");
			sum += c;
		}
		if (count > 0 && sum != static_cast<Int64>(spline.points.size()))
			return Fail("the curves hold " + std::to_string(sum) + " points, the spline " + std::to_string(spline.points.size()));
		// One curve is what an empty table says.
		if (count > 1)
			spline.curves = std::move(curves);
		return true;
	}

	data::ByteReader _r;
	std::uint32_t _version = kDocumentVersion;
};

} // namespace

} // namespace standin::docio

namespace standin
{

BaseDocument* LoadDocument(const std::string& path, std::string* error)
{
	try
	{
		Int32 ident = 0;
		std::vector<std::uint8_t> payload;
		std::string problem;
		if (!file::LoadHyperFile(path, &ident, &payload, &problem, file::kMaxDocumentPayload))
		{
			*error = path + ": " + problem;
			return nullptr;
		}
		if (ident != docio::kDocumentIdent)
		{
			*error = path + ": not a document file";
			return nullptr;
		}
		size_t pos = 0;
		std::uint32_t kind = 0;
		const std::uint8_t* body = nullptr;
		size_t length = 0;
		if (!file::NextRecord(payload, &pos, &kind, &body, &length, &problem) || kind != docio::kRecordDocument)
		{
			*error = path + ": " + (problem.empty() ? "no document in the file" : problem);
			return nullptr;
		}

		BaseDocument* doc = BaseDocument::Alloc();
		scene::DocumentData* data = scene::DocumentDataOf(doc);
		if (!data)
		{
			*error = "out of memory";
			return nullptr;
		}
		bool read = false;
		docio::Reader reader(body, length);
		try
		{
			read = reader.Document(*data);
		}
		catch (const std::bad_alloc&)
		{
			reader.error = "out of memory";
		}
		if (!read)
		{
			*error = path + ": damaged document: " + reader.error;
			BaseDocument::Free(doc);
			return nullptr;
		}
		const std::string repairs = reader.Repairs();
		if (!repairs.empty())
			GePrint(String(path + ": opened with repairs: " + repairs));
		scene::AddOpenDocument(data);
		SetActiveDocument(doc);
		return doc;
	}
	catch (const std::bad_alloc&)
	{
		*error = path + ": out of memory";
		return nullptr;
	}
}

void CloseDocument(BaseDocument* doc)
{
	// The document's destructor takes it off the open documents (and the active slot).
	BaseDocument::Free(doc);
}

} // namespace standin
