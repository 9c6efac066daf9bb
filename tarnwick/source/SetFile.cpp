// Writing and reading the saved sets.
#include "SetFile.h"

#include "ElementIndex.h"
#include "ElementSearch.h"
#include "ManagerModel.h"
#include "SetFileAside.h"
#include "TarnwickPaths.h"

namespace
{

constexpr Int64 KEY_LIMIT = 0x7fffffff;

const GeData* Typed(const BaseContainer& bc, Int64 key, Int32 type)
{
	const GeData* value = bc.GetDataPointer(static_cast<Int32>(key));
	return (value && value->GetType() == type) ? value : nullptr;
}

bool Present(const BaseContainer& bc, Int64 key)
{
	return bc.GetDataPointer(static_cast<Int32>(key)) != nullptr;
}

// The set count: key 0 when it is sound; otherwise as many sets as there are item counts at
// -1, -2, ... in a row, so that a damaged count does not hide the sets behind it.
Int32 SetCount(const BaseContainer& bc, SetFileReading* reading)
{
	if (const GeData* count = Typed(bc, SET_KEY_COUNT, DA_LONG); count && count->GetInt32() >= 0)
	{
		if (count->GetInt32() <= SET_FILE_MAX_SETS)
			return count->GetInt32();
		reading->layoutLost = true;
		return SET_FILE_MAX_SETS;
	}
	++reading->skipped;
	Int32 found = 0;
	while (found < SET_FILE_MAX_SETS && Typed(bc, -(found + 1), DA_LONG))
		++found;
	return found;
}

class SetReader
{
public:
	SetReader(const BaseContainer& bc, const ElementIndex& index, SetStore* store, SetFileReading* reading)
		: _bc(bc), _index(index), _store(store), _reading(reading)
	{
	}

	// Reads set j stored from key start; false when the sets after it cannot be placed (or memory
	// ran out).
	bool ReadSet(Int32 j, Int64* start)
	{
		const GeData* countValue = Typed(_bc, -(j + 1), DA_LONG);
		if (!countValue || countValue->GetInt32() < 0)
		{
			_reading->layoutLost = true;
			return false;
		}
		const Int64 itemCount = countValue->GetInt32();
		// Every item takes three keys: a count the container cannot hold is a lie, and the sets after
		// it cannot be placed. What there is of this set is still read.
		const bool countFits = 3 * itemCount <= _bc.GetCount() && *start + 1 + 3 * itemCount <= KEY_LIMIT;

		String setName;
		if (const GeData* nameValue = Typed(_bc, *start, DA_STRING))
			setName = nameValue->GetString();
		else
			++_reading->skipped;

		ObjectSet* set = _store->AppendNew();
		if (!set)
			return OutOfMemory();
		for (Int64 k = 0; k < itemCount; ++k)
		{
			const Int64 key = *start + 1 + 3 * k;
			if (key + 2 > KEY_LIMIT)
				break;
			if (!countFits && !Present(_bc, key) && !Present(_bc, key + 1) && !Present(_bc, key + 2))
				break;
			if (!ReadItem(key, setName, set))
				return OutOfMemory();
		}
		// A set stored with members of which none could be read has nothing left to show, not
		// even its name (the members carry it).
		if (itemCount > 0 && set->IsEmpty())
			_store->RemoveAt(_store->GetCount() - 1);
		if (!countFits)
		{
			_reading->layoutLost = true;
			return false;
		}
		*start += 1 + 3 * itemCount;
		return true;
	}

private:
	// The rest of the file could not be read.
	bool OutOfMemory()
	{
		_reading->layoutLost = true;
		return false;
	}

	// False only when memory ran out; an item that cannot be read is counted and skipped.
	bool ReadItem(Int64 key, const String& setName, ObjectSet* set)
	{
		const GeData* identityValue = Typed(_bc, key + 1, DA_LLONG);
		const GeData* kindValue = Typed(_bc, key + 2, DA_LONG);
		if (!identityValue || !kindValue)
		{
			++_reading->skipped;
			return true;
		}
		SetItem* item = NewSetItem();
		if (!item || !set->Append(item))
		{
			FreeSetItem(item);
			return false;
		}
		if (const GeData* nameValue = Typed(_bc, key, DA_STRING))
			item->storedName = nameValue->GetString();
		item->identity = static_cast<UInt64>(identityValue->GetInt64());
		item->kind = kindValue->GetInt32();
		item->setName = setName;
		// Only the identity finds the element; the stored name is for people reading the file. A
		// member of another scene's set finds nothing here and is kept as read.
		BaseList2D* element = nullptr;
		if (item->kind == ENTRY_OBJECT)
			element = _index.FindObject(item->identity);
		else
			element = _index.FindMaterial(item->identity);
		if (element)
			item->link->SetLink(element);
		return true;
	}

	const BaseContainer& _bc;
	const ElementIndex& _index;
	SetStore* _store;
	SetFileReading* _reading;
};

} // namespace

bool BuildSetContainer(const SetStore& store, BaseDocument* doc, BaseContainer* bc)
{
	bc->FlushAll();
	const Int32 setCount = store.GetStoredCount();
	if (setCount > SET_FILE_MAX_SETS)
		return false;
	Int64 start = 1;
	for (Int32 j = 0; j < setCount; ++j)
	{
		const ObjectSet* set = store.GetStored(j);
		const Int32 count = set->GetCount();
		if (start + 1 + 3 * static_cast<Int64>(count) > KEY_LIMIT)
			return false;
		bc->SetInt32(-(j + 1), count);
		const auto base = static_cast<Int32>(start);
		for (Int32 k = 0; k < count; ++k)
		{
			SetItem* item = set->Get(k);
			BaseList2D* element = (item->link && doc) ? item->link->GetLink(doc) : nullptr;
			if (IsObjectElement(element) || IsMaterialElement(element))
				item->storedName = element->GetName();
			bc->SetString(base + 1 + 3 * k, item->storedName);
			bc->SetInt64(base + 2 + 3 * k, static_cast<Int64>(item->identity));
			bc->SetInt32(base + 3 + 3 * k, item->kind);
		}
		bc->SetString(base, set->GetName());
		start += 1 + 3 * static_cast<Int64>(count);
	}
	bc->SetInt32(SET_KEY_COUNT, setCount);
	bc->SetString(SET_KEY_SIGNATURE, SET_FILE_SIGNATURE);
	return true;
}

SetFileReading ReadSetContainer(const BaseContainer& bc, BaseDocument* doc, SetStore* store)
{
	SetFileReading reading;
	const GeData* signature = Typed(bc, SET_KEY_SIGNATURE, DA_STRING);
	if (!signature || signature->GetString() != String(SET_FILE_SIGNATURE))
	{
		reading.outcome = SetFileRead::Foreign;
		return reading;
	}
	const Int32 setCount = SetCount(bc, &reading);
	if (setCount == 0)
	{
		reading.outcome = reading.skipped > 0 ? SetFileRead::Damaged : SetFileRead::Empty;
		return reading;
	}

	ElementIndex index;
	// Without the index nothing is found; the sets are still kept and written back whole.
	index.Build(doc);
	store->Clear();
	SetReader reader(bc, index, store, &reading);
	Int64 start = 1;
	for (Int32 j = 0; j < setCount; ++j)
	{
		if (!reader.ReadSet(j, &start))
			break;
	}
	store->UpdateShown();
	if (reading.skipped > 0 || reading.layoutLost)
		reading.outcome = SetFileRead::Damaged;
	return reading;
}

bool ManagerModel::WriteSetFile()
{
	return WriteSetFile(TarnwickFilePlace(SET_FILE_NAME));
}

bool ManagerModel::TakeInSetsOf(const Filename& path)
{
	// The file may hold sets of any scene, saved by an earlier run: the manager was never opened in
	// this one, or the file appeared after it was read. Writing the store alone would drop them.
	if (_syncedFile == path || path.IsEmpty() || !GeFExist(path))
		return true;
	SetStore found;
	if (ReadInto(path, &found) == FileRead::Missing)
		return true;
	const Int32 taken = found.GetStoredCount();
	ObjectSet* current = sets.GetNumber(currentSet);
	if (!sets.TakeInFront(&found))
	{
		GePrint(String("Tarnwick: the sets were not written: the sets already in ") + path.GetString() +
			" could not be kept");
		return false;
	}
	currentSet = sets.NumberOf(current);
	_syncedFile = path;
	if (taken > 0)
		GePrint(String("Tarnwick: the sets already in ") + path.GetString() + " were read in and are kept");
	return true;
}

bool ManagerModel::WriteSetFile(const Filename& path)
{
	BaseDocument* doc = GetActiveDocument();
	if (!doc)
		return false;
	if (!TakeInSetsOf(path))
		return false;
	BaseContainer bc;
	if (!BuildSetContainer(sets, doc, &bc))
	{
		GePrint(String("Tarnwick: the sets were not written: there are too many to store in ") + path.GetString());
		return false;
	}
	// A file that could not be read whole may hold sets this store lacks: it is copied aside before
	// anything replaces it, and without that copy nothing does.
	if (_unreadFile == path && GeFExist(path))
	{
		Filename copy;
		if (!SetAsideDamagedFile(path, &copy))
		{
			GePrint(String("Tarnwick: the sets were not written: the damaged set file ") + path.GetString() +
				" could not be copied aside");
			return false;
		}
		GePrint(String("Tarnwick: the damaged set file was kept as ") + copy.GetString());
	}
	_unreadFile = Filename();

	HyperFile* file = HyperFile::Alloc();
	bool ok = file && file->Open(SET_FILE_IDENT, path, FILEOPEN_WRITE, FILEDIALOG_IGNOREOPEN);
	if (ok)
		ok = file->WriteContainer(bc);
	// Close in every case: only a clean close replaces the old file.
	if (file)
		ok = file->Close() && ok;
	HyperFile::Free(file);
	if (ok)
		_syncedFile = path;
	else
		GePrint(String("Tarnwick: the sets could not be written to ") + path.GetString());
	return ok;
}

bool ManagerModel::ReadSetFile()
{
	return ReadSetFile(TarnwickFilePlace(SET_FILE_NAME));
}

bool ManagerModel::ReadSetFile(const Filename& path)
{
	if (!_unreadFile.IsEmpty() && !(_unreadFile == path))
		_unreadFile = Filename();
	_syncedFile = Filename();
	switch (ReadInto(path, &sets))
	{
		case FileRead::Missing:
			// No file yet: no saved sets.
			sets.Clear();
			return false;
		case FileRead::Unreadable:
			// Nothing of it could be kept; the write copies it aside before replacing it.
			sets.Clear();
			_syncedFile = path;
			return false;
		case FileRead::Read:
			break;
	}
	_syncedFile = path;
	return true;
}

ManagerModel::FileRead ManagerModel::ReadInto(const Filename& path, SetStore* store)
{
	if (path.IsEmpty() || !GeFExist(path))
		return FileRead::Missing;
	HyperFile* file = HyperFile::Alloc();
	BaseContainer bc;
	const bool opened = file && file->Open(SET_FILE_IDENT, path, FILEOPEN_READ, FILEDIALOG_IGNOREOPEN);
	const bool ok = opened && file->ReadContainer(&bc);
	if (file)
		file->Close();
	HyperFile::Free(file);
	if (!ok)
	{
		_unreadFile = path;
		GePrint(String("Tarnwick: the set file ") + path.GetString() +
			" cannot be read, so no sets are shown; it is copied aside before sets are saved again");
		return FileRead::Unreadable;
	}
	// Without a document nothing resolves: every set is kept, and a document change finds the
	// members of the sets that belong to it.
	const SetFileReading reading = ReadSetContainer(bc, GetActiveDocument(), store);
	switch (reading.outcome)
	{
		case SetFileRead::Loaded:
		case SetFileRead::Empty:
			if (_unreadFile == path)
				_unreadFile = Filename();
			break;
		case SetFileRead::Damaged:
			_unreadFile = path;
			GePrint(String("Tarnwick: the set file ") + path.GetString() +
				" is damaged; the sets that could be read are shown, and the file is copied aside before sets are saved again");
			break;
		case SetFileRead::Foreign:
			_unreadFile = path;
			GePrint(String("Tarnwick: ") + path.GetString() +
				" is not a set file; it is copied aside before sets are saved there");
			break;
	}
	return FileRead::Read;
}
