// Import address tables rewritten in place: the import descriptors of a
// module name each DLL, its lookup table the functions by name, and the
// parallel address table holds what every call of that module jumps through.
#include "import_patch.h"

#include <tlhelp32.h>

#include <cstring>
#include <cwchar>
#include <string>

namespace bench {

namespace {

std::wstring folderOf(HMODULE module) {
  wchar_t path[MAX_PATH * 2] = {0};
  const DWORD n = GetModuleFileNameW(module, path, DWORD(sizeof path / sizeof path[0]));
  std::wstring p(path, n);
  const size_t slash = p.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : p.substr(0, slash + 1);
}

bool startsWithNoCase(const wchar_t* text, const std::wstring& prefix) {
  return !prefix.empty() && _wcsnicmp(text, prefix.c_str(), prefix.size()) == 0;
}

}  // namespace

std::vector<HMODULE> ownModules() {
  std::vector<HMODULE> modules = {GetModuleHandleW(nullptr)};
  const std::wstring folder = folderOf(nullptr);
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, GetCurrentProcessId());
  if (snapshot == INVALID_HANDLE_VALUE) return modules;
  MODULEENTRY32W entry;
  entry.dwSize = sizeof entry;
  for (BOOL more = Module32FirstW(snapshot, &entry); more; more = Module32NextW(snapshot, &entry))
    if (entry.hModule != modules.front() && startsWithNoCase(entry.szExePath, folder))
      modules.push_back(entry.hModule);
  CloseHandle(snapshot);
  return modules;
}

int patchImport(HMODULE module, const char* dll, const char* function, void* replacement) {
  auto* base = reinterpret_cast<uint8_t*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE) return 0;
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (dir.VirtualAddress == 0) return 0;
  int patched = 0;
  for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
    if (_stricmp(reinterpret_cast<const char*>(base + d->Name), dll) != 0) continue;
    if (d->OriginalFirstThunk == 0) continue;  // no names to go by
    auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
      void** slot = reinterpret_cast<void**>(&slots->u1.Function);
      if (*slot != replacement) {
        DWORD was = 0;
        if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &was)) continue;
        *slot = replacement;
        VirtualProtect(slot, sizeof *slot, was, &was);
        FlushInstructionCache(GetCurrentProcess(), slot, sizeof *slot);
      }
      ++patched;
    }
  }
  return patched;
}

}  // namespace bench
