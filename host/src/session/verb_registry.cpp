// The table of session verbs, filled by the static registrations in the verbs_*.cpp files.
#include <map>

#include "session/verb.h"

namespace standin::session
{

namespace
{

std::map<std::string, Verb>& Table()
{
	static std::map<std::string, Verb>* table = new std::map<std::string, Verb>;
	return *table;
}

} // namespace

void RegisterVerb(Verb verb)
{
	std::string name = verb.name;
	Table().insert_or_assign(std::move(name), std::move(verb));
}

const Verb* FindVerb(const std::string& name)
{
	auto it = Table().find(name);
	return it == Table().end() ? nullptr : &it->second;
}

std::vector<const Verb*> AllVerbs()
{
	std::vector<const Verb*> verbs;
	for (const auto& [name, verb] : Table())
		verbs.push_back(&verb);
	return verbs;
}

} // namespace standin::session
