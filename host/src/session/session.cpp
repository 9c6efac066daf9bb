#include "session/session.h"

namespace standin::session
{

Session::Session(std::ostream& out, std::string scriptPath, std::string pluginsFolder, PluginHost& plugins)
	: _out(&out), _scriptPath(std::move(scriptPath)), _pluginsFolder(std::move(pluginsFolder)), _plugins(&plugins)
{
	_previousSource = input::UseSource(&_input);
	_previousAnswers = dialogs::UseAnswerSource(&_dialogs);
}

Session::~Session()
{
	dialogs::UseAnswerSource(_previousAnswers);
	input::UseSource(_previousSource);
}

namespace
{

template <typename T>
bool TakeFront(std::deque<T>& queue, T* out)
{
	if (queue.empty())
		return false;
	*out = std::move(queue.front());
	queue.pop_front();
	return true;
}

} // namespace

bool DialogQueue::TakePopupAnswer(std::string* answer)
{
	return TakeFront(popups, answer);
}

bool DialogQueue::TakeModalAnswer(std::vector<std::string>* words)
{
	return TakeFront(modals, words);
}

bool DialogQueue::TakeQuestionAnswer(std::string* answer)
{
	return TakeFront(questions, answer);
}

} // namespace standin::session
