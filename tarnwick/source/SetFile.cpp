// Writing and reading the saved sets.
#include "SetFile.h"

#include "ElementSearch.h"
#include "ManagerModel.h"
#include "TarnwickPaths.h"

namespace
{

constexpr Int64 KEY_LIMIT = 0x7fffffff;

const GeData* Typed(const BaseContainer& bc, Int32 key, Int32 type)
{
	const GeData* value = bc.GetDataPointer(key);
	return (value && value->GetType() == type) ? value : nullptr;
}

} // namespace

bool BuildSetContainer(const SetStore& store, BaseDocument* doc, BaseContainer* bc)
{
	bc->FlushAll();
	if (store.GetCount() > SET_FILE_MAX_SETS)
		return false;
	Int64 start = 1;
	for (Int32 j = 0; j < store.GetCount(); ++j)
	{
		const ObjectSet* set = store.Get(j);
		const Int32 count = set->GetCount();
		if (start + 1 + 3 * static_cast<Int64>(count) > KEY_LIMIT)
			return false;
		bc->SetInt32(-(j + 1), count);
		const auto base = static_cast<Int32>(start);
		for (Int32 k = 0; k < count; ++k)
		{
			const SetItem* item = set->Get(k);
			BaseList2D* element = (item->link && doc) ? item->link->GetLink(doc) : nullptr;
			String name;
			if (IsObjectElement(element) || IsMaterialElement(element))
				name = element->GetName();
			bc->SetString(base + 1 + 3 * k, name);
			bc->SetInt64(base + 2 + 3 * k, static_cast<Int64>(item->identity));
			bc->SetInt32(base + 3 + 3 * k, item->kind);
		}
		bc->SetString(base, set->GetName());
		start += 1 + 3 * static_cast<Int64>(count);
	}
	bc->SetInt32(SET_KEY_COUNT, store.GetCount());
	bc->SetString(SET_KEY_SIGNATURE, SET_FILE_SIGNATURE);
	return true;
}

SetFileRead ReadSetContainer(const BaseContainer& bc, BaseDocument* doc, SetStore* store)
{
	const GeData* signature = Typed(bc, SET_KEY_SIGNATURE, DA_STRING);
	if (!signature || signature->GetString() != String(SET_FILE_SIGNATURE))
		return SetFileRead::Ignored;
	const GeData* countValue = Typed(bc, SET_KEY_COUNT, DA_LONG);
	const Int32 setCount = countValue ? countValue->GetInt32() : 0;
	if (setCount <= 0)
		return SetFileRead::Ignored;

	store->Clear();
	Int64 start = 1;
	// A count is only trusted as far as the keys behind it exist: the loops end at the first
	// missing key, so a hostile count costs no more than the file's own size.
	for (Int32 j = 0; j < setCount && start <= KEY_LIMIT; ++j)
	{
		const GeData* nameValue = Typed(bc, static_cast<Int32>(start), DA_STRING);
		const GeData* itemsValue = Typed(bc, -(j + 1), DA_LONG);
		if (!nameValue || !itemsValue || itemsValue->GetInt32() < 0)
			break;
		const String setName = nameValue->GetString();
		const Int32 itemCount = itemsValue->GetInt32();

		ObjectSet* set = store->AppendNew();
		if (!set)
			break;
		bool sound = true;
		for (Int32 k = 0; k < itemCount; ++k)
		{
			const Int64 key = start + 1 + 3 * static_cast<Int64>(k);
			if (key + 2 > KEY_LIMIT)
			{
				sound = false;
				break;
			}
			const GeData* itemName = Typed(bc, static_cast<Int32>(key), DA_STRING);
			const GeData* identityValue = Typed(bc, static_cast<Int32>(key + 1), DA_LLONG);
			const GeData* kindValue = Typed(bc, static_cast<Int32>(key + 2), DA_LONG);
			if (!itemName || !identityValue || !kindValue)
			{
				sound = false;
				break;
			}
			const UInt64 identity = static_cast<UInt64>(identityValue->GetInt64());
			const Int32 kind = kindValue->GetInt32();
			// Only the identity finds the element; the stored name is for people reading the file.
			BaseList2D* element = nullptr;
			if (kind == ENTRY_OBJECT)
				element = FindObjectByIdentity(doc, identity);
			else
				element = FindMaterialByMarker(doc, identity);
			if (!element)
				continue;
			SetItem* item = NewSetItem();
			if (!item || !set->Append(item))
			{
				FreeSetItem(item);
				sound = false;
				break;
			}
			item->link->SetLink(element);
			item->kind = kind;
			item->identity = identity;
			item->setName = setName;
		}
		// A set whose stored members are all gone is dropped; one stored empty stays.
		if (set->IsEmpty() && (itemCount > 0 || !sound))
			store->RemoveAt(store->GetCount() - 1);
		if (!sound)
			break;
		start += 1 + 3 * static_cast<Int64>(itemCount);
	}
	return SetFileRead::Loaded;
}

bool ManagerModel::WriteSetFile()
{
	return WriteSetFile(TarnwickFilePlace(SET_FILE_NAME));
}

bool ManagerModel::WriteSetFile(const Filename& path)
{
	BaseDocument* doc = GetActiveDocument();
	if (!doc)
		return false;
	BaseContainer bc;
	if (!BuildSetContainer(sets, doc, &bc))
		return false;
	HyperFile* file = HyperFile::Alloc();
	if (!file)
		return false;
	bool ok = file->Open(SET_FILE_IDENT, path, FILEOPEN_WRITE, FILEDIALOG_IGNOREOPEN);
	if (ok)
		ok = file->WriteContainer(bc);
	// Close in every case: only a clean close replaces the old file.
	const bool closed = file->Close();
	HyperFile::Free(file);
	return ok && closed;
}

bool ManagerModel::ReadSetFile()
{
	return ReadSetFile(TarnwickFilePlace(SET_FILE_NAME));
}

bool ManagerModel::ReadSetFile(const Filename& path)
{
	BaseDocument* doc = GetActiveDocument();
	if (!doc)
		return false;
	HyperFile* file = HyperFile::Alloc();
	if (!file)
		return false;
	BaseContainer bc;
	const bool opened = file->Open(SET_FILE_IDENT, path, FILEOPEN_READ, FILEDIALOG_IGNOREOPEN);
	const bool ok = opened && file->ReadContainer(&bc);
	file->Close();
	HyperFile::Free(file);
	if (!ok)
	{
		// A missing or unreadable file means no saved sets.
		sets.Clear();
		return false;
	}
	ReadSetContainer(bc, doc, &sets);
	return true;
}
