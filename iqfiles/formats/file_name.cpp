#include "iqfiles/formats/file_name.h"

#include <cwchar>
#include <cwctype>

#include "core/error.h"
#include "platform/text.h"

void CQFileName::Set(const wchar_t* name) {
  try {
    if (name == nullptr) {
      throw new CQError("Null pointer to file name.");
    }
    wide_.reset();
    utf8_.reset();
    if (name[0] != L'\0') {
      wide_ = std::wstring(name);
      utf8_ = lv::WideToUtf8(name);
    }
  } catch (CQError* e) {
    e->AddToCallStack("CQFileName::Set");
    throw;
  }
}

namespace {

void CommonChecks(const wchar_t* path, const wchar_t* name) {
  if (path == nullptr) {
    throw new CQError("Null pointer to file name string.");
  }
  if (name == nullptr) {
    throw new CQError("Null pointer to name string.");
  }
  if (path[0] == L'\0') {
    throw new CQError("Invalid length for file name string.");
  }
}

}  // namespace

bool CQFileUtils::GetName(const wchar_t* path, wchar_t* name) {
  try {
    CommonChecks(path, name);
    const std::wstring p(path);
    const size_t dot = p.rfind(L'.');
    const size_t slash = p.rfind(L'/');
    size_t end = dot == std::wstring::npos ? p.size() : dot;
    const size_t start = slash == std::wstring::npos ? 0 : slash + 1;
    if (dot != std::wstring::npos && slash != std::wstring::npos && dot < slash) {
      end = p.size();  // a dot in a folder name only
    }
    if (end - start >= kPathCapacity) {
      throw new CQError("Name string not long enough for path.");
    }
    std::wmemset(name, L'\0', kPathCapacity);
    std::wmemcpy(name, p.data() + start, end - start);
    return true;
  } catch (CQError* e) {
    e->AddToCallStack("CQFileUtils::GetName");
    throw;
  }
}

bool CQFileUtils::GetPathWithName(const wchar_t* path, wchar_t* name) {
  try {
    CommonChecks(path, name);
    const std::wstring p(path);
    const size_t dot = p.rfind(L'.');
    const size_t slash = p.rfind(L'/');
    // A dot in a folder name is not an extension.
    const size_t end = (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) ? p.size() : dot;
    if (end > 259) {
      throw new CQError("Name string not long enough for path.");
    }
    std::wmemset(name, L'\0', kPathCapacity);
    std::wmemcpy(name, p.data(), end);
    return true;
  } catch (CQError* e) {
    e->AddToCallStack("CQFileUtils::GetPathWithName");
    throw;
  }
}

std::wstring UpperFileNamePart(const wchar_t* path) {
  if (path == nullptr) {
    return {};
  }
  std::wstring p(path);
  const size_t slash = p.rfind(L'/');
  if (slash != std::wstring::npos) {
    p.erase(0, slash + 1);
  }
  for (auto& c : p) {
    c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  }
  return p;
}

bool FileNameContains(const wchar_t* path, std::initializer_list<const wchar_t*> texts) {
  if (path == nullptr) {
    return false;
  }
  const std::wstring upper = UpperFileNamePart(path);
  for (const wchar_t* text : texts) {
    if (upper.find(text) != std::wstring::npos) {
      return true;
    }
  }
  return false;
}
