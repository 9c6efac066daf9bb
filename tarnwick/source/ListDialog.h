// The set list: a small modal dialog listing the saved sets with their members. A click on a set
// row loads that set into the held list (row 0 loads none); the list stays open until Close.
#pragma once

#include <vector>

#include "SetStore.h"
#include "hostapi/dialog.h"

class ManagerModel;

class ListDialog : public GeModalDialog
{
public:
	// Takes the sets to list (their structure: the members stay the manager's records), the model
	// loading goes through and its current set. Called right before the dialog opens.
	void Fill(const SetStore& store, ManagerModel* model, Int32 currentSet);

	bool CreateLayout() override;
	bool InitValues() override;
	bool Command(Int32 id, const BaseContainer& msg) override;
	Int32 Message(const BaseContainer& msg, BaseContainer& result) override;
	void DestroyWindow() override;

private:
	SimpleListView _list;
	// Set by set, the members in order; read only while the rows are made.
	std::vector<std::vector<const SetItem*>> _sets;
	ManagerModel* _model = nullptr;
	Int32 _currentSet = 0;
	// The rows the last fill made, so the next one can take them out again.
	Int32 _highestSetRow = 0;
	Int32 _lowestMemberRow = 0;
};
