// Little-endian byte writer and bounds-checked reader for the host's binary formats. The reader
// never reads past its end: every read answers false instead, and the caller stops.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace standin::data
{

class ByteWriter
{
public:
	explicit ByteWriter(std::vector<std::uint8_t>& out) : _out(out) {}

	void U8(std::uint8_t v) { _out.push_back(v); }
	void U32(std::uint32_t v)
	{
		for (int i = 0; i < 4; ++i)
			_out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
	}
	void U64(std::uint64_t v)
	{
		for (int i = 0; i < 8; ++i)
			_out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
	}
	void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
	void I64(std::int64_t v) { U64(static_cast<std::uint64_t>(v)); }
	void F64(double v)
	{
		std::uint64_t bits;
		std::memcpy(&bits, &v, sizeof bits);
		U64(bits);
	}
	void Bytes(const void* data, size_t size)
	{
		const auto* p = static_cast<const std::uint8_t*>(data);
		_out.insert(_out.end(), p, p + size);
	}
	// Patches a 32-bit value written earlier at byte offset pos.
	void PatchU32(size_t pos, std::uint32_t v)
	{
		for (int i = 0; i < 4; ++i)
			_out[pos + static_cast<size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
	}
	size_t Size() const { return _out.size(); }

private:
	std::vector<std::uint8_t>& _out;
};

class ByteReader
{
public:
	ByteReader(const std::uint8_t* data, size_t size) : _data(data), _size(data ? size : 0) {}

	size_t Remaining() const { return _size - _pos; }
	size_t Position() const { return _pos; }

	bool U8(std::uint8_t* v)
	{
		if (Remaining() < 1)
			return false;
		*v = _data[_pos++];
		return true;
	}
	bool U32(std::uint32_t* v)
	{
		if (Remaining() < 4)
			return false;
		std::uint32_t r = 0;
		for (int i = 0; i < 4; ++i)
			r |= static_cast<std::uint32_t>(_data[_pos + static_cast<size_t>(i)]) << (8 * i);
		_pos += 4;
		*v = r;
		return true;
	}
	bool U64(std::uint64_t* v)
	{
		if (Remaining() < 8)
			return false;
		std::uint64_t r = 0;
		for (int i = 0; i < 8; ++i)
			r |= static_cast<std::uint64_t>(_data[_pos + static_cast<size_t>(i)]) << (8 * i);
		_pos += 8;
		*v = r;
		return true;
	}
	bool I32(std::int32_t* v)
	{
		std::uint32_t u;
		if (!U32(&u))
			return false;
		*v = static_cast<std::int32_t>(u);
		return true;
	}
	bool I64(std::int64_t* v)
	{
		std::uint64_t u;
		if (!U64(&u))
			return false;
		*v = static_cast<std::int64_t>(u);
		return true;
	}
	bool F64(double* v)
	{
		std::uint64_t bits;
		if (!U64(&bits))
			return false;
		std::memcpy(v, &bits, sizeof bits);
		return true;
	}
	// A view of the next size bytes; false when fewer remain.
	bool View(size_t size, const std::uint8_t** out)
	{
		if (Remaining() < size)
			return false;
		*out = _data + _pos;
		_pos += size;
		return true;
	}

private:
	const std::uint8_t* _data;
	size_t _size;
	size_t _pos = 0;
};

} // namespace standin::data
