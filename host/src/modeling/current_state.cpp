// "Current state to object": a free copy of each source with primitive generators turned into
// the polygon objects they stand for. Children and tags come along; the copies get new
// identities.
#include <vector>

#include "modeling/commands.h"
#include "modeling/primitives.h"
#include "scene/document_data.h"
#include "scene/object_data.h"

namespace modeling
{
namespace
{

bool IsGenerator(const scene::NodeCore* node)
{
	return node->type == Ocube || node->type == Oplane;
}

// Puts the generator's polygon object in its place, with its state, children and tags.
// Answers the replacement; nullptr (and the tree unchanged) when memory is short.
scene::NodeCore* ReplaceGenerator(scene::NodeCore* gen)
{
	const Float size = gen->data.GetFloat(kPrimitiveSize, gen->type == Ocube ? 200.0 : 400.0);
	const Int32 segments = gen->data.GetInt32(kPrimitiveSegments, 4);
	scene::NodeCore* repl = scene::CoreOf(BuildPrimitive(gen->type, size, segments, nullptr));
	if (!repl)
		return nullptr;
	const String name = repl->name;
	scene::CopyObjectState(*gen, *repl);
	if (repl->name.IsEmpty())
		repl->name = name;
	while (scene::NodeCore* child = gen->children.first)
		scene::LinkLast(child, repl->children);
	while (scene::NodeCore* tag = gen->AsObject()->tags.first)
		scene::LinkLast(tag, repl->AsObject()->tags);
	if (gen->list)
		scene::LinkAfter(repl, gen);
	scene::DestroyNode(gen);
	return repl;
}

// Converts every generator in the tree below root; answers the (possibly new) root.
scene::NodeCore* ConvertTree(scene::NodeCore* root)
{
	std::vector<scene::NodeCore*> generators;
	// The root is a free copy, so the walk stays inside its tree.
	for (scene::NodeCore* n = root; n; n = scene::NextDepthFirst(n))
	{
		if (IsGenerator(n))
			generators.push_back(n);
	}
	scene::NodeCore* top = root;
	for (scene::NodeCore* gen : generators)
	{
		scene::NodeCore* repl = ReplaceGenerator(gen);
		if (!repl)
			return nullptr;
		if (gen == top)
			top = repl;
	}
	return top;
}

} // namespace

bool CurrentStateToObject(ModelingCommandData& data)
{
	if (!data.result)
		return false;
	std::vector<const scene::NodeCore*> sources;
	if (data.arr && data.arr->GetCount() > 0)
	{
		for (Int32 i = 0; i < data.arr->GetCount(); ++i)
			sources.push_back(scene::CoreOf(data.arr->GetIndex(i)));
	}
	else
	{
		sources.push_back(scene::CoreOf(data.op));
	}
	std::vector<scene::NodeCore*> copies;
	bool ok = true;
	for (const scene::NodeCore* src : sources)
	{
		scene::NodeCore* copy = src && src->AsObject() ? scene::CloneTree(src) : nullptr;
		scene::NodeCore* converted = copy ? ConvertTree(copy) : nullptr;
		if (!converted)
		{
			scene::DestroyNode(copy);
			ok = false;
			break;
		}
		copies.push_back(converted);
	}
	const Int32 before = data.result->GetCount();
	for (size_t i = 0; ok && i < copies.size(); ++i)
		ok = data.result->Append(copies[i]->self);
	if (!ok)
	{
		// Take back what was appended and free every copy: a failed command leaves no trace.
		std::vector<GeListNode*> keep;
		for (Int32 i = 0; i < before; ++i)
			keep.push_back(data.result->GetIndex(i));
		data.result->Flush();
		for (GeListNode* n : keep)
			data.result->Append(n);
		for (scene::NodeCore* c : copies)
			scene::DestroyNode(c);
		return false;
	}
	return true;
}

} // namespace modeling
