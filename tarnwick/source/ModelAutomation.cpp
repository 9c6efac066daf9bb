#include "ModelAutomation.h"

#include "ManagerModel.h"
#include "hostapi/resource.h"

namespace
{

ManagerModel* g_model = nullptr;

constexpr Int32 STR_DEFAULT_CAPTION = 10075;

bool Gather(ManagerModel& model, const BaseContainer& request)
{
	const Int32 count = request.GetInt32(AUTOMATION_LINK_COUNT);
	if (count < 0)
		return false;
	AtomArray* elements = AtomArray::Alloc();
	if (!elements)
		return false;
	bool ok = true;
	for (Int32 i = 0; i < count && ok; ++i)
	{
		const GeData* cell = request.GetDataPointer(AUTOMATION_LINK_FIRST + i);
		if (!cell || cell->GetType() != DA_ALIASLINK)
		{
			ok = false;
			break;
		}
		BaseList2D* element = cell->GetLink(GetActiveDocument());
		if (element)
			ok = elements->Append(element);
	}
	if (ok)
		ok = model.AddElements(*elements);
	AtomArray::Free(elements);
	return ok;
}

bool Run(ManagerModel& model, BaseContainer& request)
{
	switch (request.GetInt32(AUTOMATION_OPERATION))
	{
		case AUTOMATION_OPEN:
		{
			String caption = request.GetString(AUTOMATION_TEXT);
			if (caption.IsEmpty())
				caption = GeLoadString(STR_DEFAULT_CAPTION);
			model.Open(caption);
			return true;
		}
		case AUTOMATION_GATHER:
			return Gather(model, request);
		case AUTOMATION_SAVE_SET:
		{
			bool written = false;
			const bool ok = model.SaveAsNewSetNamed(request.GetString(AUTOMATION_TEXT), &written);
			request.SetBool(AUTOMATION_WRITTEN, written);
			return ok;
		}
		case AUTOMATION_LOAD_SET:
			return model.LoadSet(request.GetInt32(AUTOMATION_NUMBER));
		case AUTOMATION_REMOVE_SET:
			return model.RemoveCurrentSet();
		case AUTOMATION_UPDATE_SET:
			return model.UpdateCurrentSet();
		case AUTOMATION_REFRESH:
		{
			// As on the host's document-changed message: refresh only with a document, then the sets.
			bool ok = true;
			if (GetActiveDocument())
				ok = model.Refresh();
			model.ResolveSets();
			return ok;
		}
		case AUTOMATION_DESCRIBE:
			return true;
		default:
			return false;
	}
}

} // namespace

void SetAutomationModel(ManagerModel* model)
{
	g_model = model;
}

void DetachAutomationModel(ManagerModel* model)
{
	if (g_model == model)
		g_model = nullptr;
}

bool HandleModelAutomation(void* data)
{
	if (!data || !g_model)
		return false;
	auto& request = *static_cast<BaseContainer*>(data);
	const bool ok = Run(*g_model, request);
	request.SetBool(AUTOMATION_RESULT, ok);
	request.SetString(AUTOMATION_REPORT, g_model->Describe());
	return ok;
}
