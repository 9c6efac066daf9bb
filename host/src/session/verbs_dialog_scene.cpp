// Session verbs for the parts of the scene the manager shows and edits: layers, tags, and an
// element's state as the manager's tree changes it (modes, layer, enable, fold bits, selection).
#include "hostapi/document.h"
#include "session/lookup.h"
#include "session/verbs_dialog.h"
#include "session/words.h"
#include "standin/printable.h"

namespace standin::session
{

namespace
{

struct TagArgs
{
	std::string object;
	std::string kind;
	std::string material;
	bool select = false;
};

bool ParseTag(const Words& args, TagArgs* out, std::string* error)
{
	const char* usage = "add-tag <object path> phong|texture|uvw [material] [selected]";
	if (!CheckArity(args, 2, 4, usage, error))
		return false;
	out->object = args[0];
	out->kind = args[1];
	if (out->kind != "phong" && out->kind != "texture" && out->kind != "uvw")
	{
		*error = "expected phong, texture or uvw, not '" + Printable(out->kind, 40) + "'";
		return false;
	}
	for (size_t i = 2; i < args.size(); ++i)
	{
		if (args[i] == "selected")
			out->select = true;
		else if (out->kind == "texture" && out->material.empty())
			out->material = args[i];
		else
		{
			*error = "usage: " + std::string(usage);
			return false;
		}
	}
	return true;
}

bool RunTag(Session& session, const TagArgs& args, std::string* error)
{
	BaseObject* op = nullptr;
	if (!FindObject(session, args.object, &op, error))
		return false;
	BaseMaterial* mat = nullptr;
	if (!args.material.empty())
	{
		BaseList2D* element = nullptr;
		if (!FindSceneElement(session, "material:" + args.material, &element, error))
			return false;
		mat = static_cast<BaseMaterial*>(element);
	}
	const Int32 type = args.kind == "phong" ? Tphong : args.kind == "texture" ? Ttexture : Tuvw;
	BaseTag* tag = op->MakeTag(type);
	if (!tag)
	{
		*error = "the tag could not be made";
		return false;
	}
	if (mat)
		static_cast<TextureTag*>(tag)->SetMaterial(mat);
	if (args.select)
		tag->SetBit(1u << NBIT_ACTIVE);
	return true;
}

bool RunLayer(Session& session, const TextArgs& args, std::string* error)
{
	if (!RequireDocument(session, error))
		return false;
	BaseDocument* doc = session.Document();
	LayerObject* layer = LayerObject::Alloc();
	if (!layer)
	{
		*error = "out of memory";
		return false;
	}
	layer->SetName(String(args.words[0]));
	BaseList2D* last = nullptr;
	for (GeListNode* l = doc->GetFirstLayer(); l; l = l->GetNext())
		last = static_cast<BaseList2D*>(l);
	doc->InsertLayer(layer, nullptr, last);
	return true;
}

const char* ModeWord(Int32 mode)
{
	switch (mode)
	{
		case 0: return "on";
		case 1: return "off";
		case 2: return "default";
		default: return "?";
	}
}

bool RunPrintElement(Session& session, const TextArgs& args, std::string* error)
{
	BaseList2D* element = nullptr;
	if (!FindSceneElement(session, args.words[0], &element, error))
		return false;
	std::ostream& out = session.Out();
	out << Printable(args.words[0], 200) << ":";
	BaseList2D* layer = nullptr;
	if (element->IsInstanceOf(Obase))
	{
		auto* op = static_cast<BaseObject*>(element);
		out << " editor " << ModeWord(op->GetEditorMode()) << " render " << ModeWord(op->GetRenderMode());
		layer = op->GetLayerObject();
		out << " parent " << (op->GetUp() ? Quoted(ObjectPath(op->GetUp())) : std::string("none"));
		const Matrix mg = op->GetMg();
		out << " world " << String::FloatToString(mg.off.x).Get() << "," << String::FloatToString(mg.off.y).Get() << "," << String::FloatToString(mg.off.z).Get();
		out << " tags";
		int n = 0;
		for (BaseTag* tag = op->GetFirstTag(); tag; tag = tag->GetNext(), ++n)
			out << " " << tag->GetType() << (tag->GetNBit(NBIT_ACTIVE) ? "*" : "");
		if (n == 0)
			out << " none";
	}
	else if (element->IsInstanceOf(Mbase))
		layer = static_cast<BaseMaterial*>(element)->GetLayerObject();
	out << " layer " << (layer ? Quoted(layer->GetName().Get()) : std::string("none"));
	out << (element->GetNBit(NBIT_DISABLED) ? " disabled" : " enabled") << (element->GetNBit(NBIT_ACTIVE) ? " selected" : "");
	out << " fold";
	for (Int32 bit = NBIT_OM1_FOLD; bit <= NBIT_OM4_FOLD; ++bit)
		if (element->GetNBit(bit))
			out << ' ' << bit;
	out << "\n";
	return true;
}

bool RunPrintLayers(Session& session, const NoArgs&, std::string* error)
{
	if (!RequireDocument(session, error))
		return false;
	for (GeListNode* l = session.Document()->GetFirstLayer(); l; l = l->GetNext())
	{
		auto* layer = static_cast<BaseList2D*>(l);
		session.Out() << "layer \"" << Printable(layer->GetName().Get(), 200) << "\"" << (layer->GetNBit(NBIT_ACTIVE) ? " selected" : "") << "\n";
	}
	return true;
}

VerbRegistration addTag(SceneEdit(MakeVerb<TagArgs>("add-tag", "add-tag <object path> phong|texture|uvw [material] [selected]",
	"Gives an object a tag at the end of its tags: Phong, texture (naming a material) or UVW; selected makes it active.", ParseTag, RunTag)));

VerbRegistration addLayer(SceneEdit(MakeVerb<TextArgs>("add-layer", "add-layer <name>",
	"Adds a layer at the end of the document's top-level layers.", TextWords(1, 1, "add-layer <name>"), RunLayer)));

VerbRegistration printElement(MakeVerb<TextArgs>("print-element", "print-element <element>",
	"Prints an object's or material's editor and render mode, parent, world position, tags (* active), layer, enable state, selection and set fold bits.",
	TextWords(1, 1, "print-element <element>"), RunPrintElement));

VerbRegistration printLayers(MakeVerb<NoArgs>("print-layers", "print-layers", "Prints the document's top-level layers.", NoWords("print-layers"), RunPrintLayers));

} // namespace

} // namespace standin::session
