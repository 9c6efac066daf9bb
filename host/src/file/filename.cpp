// Filename: paths in this platform's form, joined with '/'.
#include "hostapi/file.h"

Filename Filename::operator+(const String& component) const
{
	const std::string& base = _path.Get();
	if (base.empty())
		return Filename(component);
	if (base.back() == '/')
		return Filename(String(base + component.Get()));
	return Filename(String(base + "/" + component.Get()));
}

Filename Filename::GetDirectory() const
{
	const std::string& p = _path.Get();
	const size_t slash = p.find_last_of('/');
	if (slash == std::string::npos)
		return Filename();
	// The folder of "/name" is the root itself, not an empty path.
	if (slash == 0)
		return Filename("/");
	return Filename(String(p.substr(0, slash)));
}

String Filename::GetFileString() const
{
	const std::string& p = _path.Get();
	const size_t slash = p.find_last_of('/');
	return String(slash == std::string::npos ? p : p.substr(slash + 1));
}

void Filename::SetSuffix(const String& suffix)
{
	std::string p = _path.Get();
	const size_t slash = p.find_last_of('/');
	const size_t fileStart = slash == std::string::npos ? 0 : slash + 1;
	if (fileStart >= p.size())
		return; // no file part to carry a suffix
	const size_t dot = p.find_last_of('.');
	// A leading dot names a hidden file; it is not a suffix.
	if (dot != std::string::npos && dot > fileStart)
		p.resize(dot);
	if (!suffix.IsEmpty())
		p += "." + suffix.Get();
	_path = String(std::move(p));
}
