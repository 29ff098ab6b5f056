// The sample program's code and data: functions of x86 instruction
// patterns, strings, initialised data, class tables and imports, as each
// release has them, and the writers of the code, constant tables and import
// section.

#include <algorithm>

#include "payload/sample_program_parts.h"

namespace upd::sample_program {
namespace {

constexpr uint32_t kRuntimeFunctions = 220;  // the first functions: a runtime library everything calls

struct ImportDll {
  std::string_view name;
  std::vector<std::string_view> functions;
};

const std::vector<ImportDll>& Imports() {
  static const std::vector<ImportDll> dlls = {
      {"kernel32.dll",
       {"CloseHandle", "CreateFileA", "CreateFileW", "DeleteFileA", "ExitProcess", "FindClose", "FindFirstFileA",
        "FindNextFileA", "FreeLibrary", "GetCommandLineA", "GetCurrentDirectoryA", "GetFileAttributesA",
        "GetFileSize", "GetLastError", "GetLocaleInfoA", "GetModuleFileNameA", "GetModuleHandleA",
        "GetProcAddress", "GetStdHandle", "GetSystemDefaultLangID", "GetThreadLocale", "GetTickCount",
        "GetVersionExA", "GlobalAlloc", "GlobalFree", "GlobalLock", "GlobalUnlock", "HeapAlloc", "HeapFree",
        "InitializeCriticalSection", "EnterCriticalSection", "LeaveCriticalSection", "LoadLibraryA",
        "LocalAlloc", "LocalFree", "MoveFileA", "MultiByteToWideChar", "ReadFile", "SetFilePointer",
        "SetLastError", "Sleep", "VirtualAlloc", "VirtualFree", "WideCharToMultiByte", "WriteFile",
        "lstrlenA", "lstrcpyA", "CompareStringA", "GetACP", "GetCPInfo"}},
      {"user32.dll",
       {"BeginPaint", "CallWindowProcA", "CreateWindowExA", "DefWindowProcA", "DestroyWindow", "DispatchMessageA",
        "DrawTextA", "EnableWindow", "EndPaint", "GetClientRect", "GetDC", "GetMessageA", "GetSystemMetrics",
        "GetWindowLongA", "GetWindowTextA", "InvalidateRect", "IsWindowVisible", "LoadCursorA", "LoadIconA",
        "LoadStringA", "MessageBoxA", "PeekMessageA", "PostMessageA", "RegisterClassA", "ReleaseDC",
        "SendMessageA", "SetFocus", "SetWindowLongA", "SetWindowPos", "SetWindowTextA", "ShowWindow",
        "TranslateMessage", "UpdateWindow", "CharLowerA", "CharUpperA", "GetKeyState", "SetTimer", "KillTimer"}},
      {"gdi32.dll",
       {"BitBlt", "CreateCompatibleBitmap", "CreateCompatibleDC", "CreateFontIndirectA", "CreatePen",
        "CreateSolidBrush", "DeleteDC", "DeleteObject", "GetDeviceCaps", "GetStockObject", "GetTextExtentPoint32A",
        "GetTextMetricsA", "Rectangle", "SelectObject", "SetBkColor", "SetBkMode", "SetTextColor", "TextOutA",
        "StretchBlt", "EnumFontFamiliesExA"}},
      {"advapi32.dll", {"RegCloseKey", "RegOpenKeyExA", "RegQueryValueExA", "RegSetValueExA", "RegCreateKeyExA"}},
      {"comctl32.dll", {"ImageList_Add", "ImageList_Create", "ImageList_Destroy", "InitCommonControls"}},
      {"shell32.dll", {"ShellExecuteA", "SHGetFolderPathA", "SHGetPathFromIDListA", "DragQueryFileA"}},
      {"comdlg32.dll", {"GetOpenFileNameA", "GetSaveFileNameA", "PrintDlgA", "ChooseFontA"}},
      {"ole32.dll", {"CoCreateInstance", "CoInitialize", "CoUninitialize", "CoTaskMemFree"}},
      {"oleaut32.dll", {"SysAllocStringLen", "SysFreeString", "SysStringLen", "VariantClear", "VariantInit"}},
      {"version.dll", {"GetFileVersionInfoA", "GetFileVersionInfoSizeA", "VerQueryValueA"}},
  };
  return dlls;
}

uint32_t ImportCount() {
  uint32_t n = 0;
  for (const auto& d : Imports()) n += static_cast<uint32_t>(d.functions.size());
  return n;
}

// Builds statements that refer only to items of release `release` or older.
class StatementMaker {
 public:
  StatementMaker(Random& rng, int release) : rng_(rng), r_(kReleases[release - 1]) {}

  Statement Make() {
    Statement s{};
    s.r1 = static_cast<uint8_t>(Register());
    s.r2 = static_cast<uint8_t>(Register());
    const uint32_t roll = rng_.Below(1000);
    // Frequencies of a compiler's output: mostly moves, calls and branches.
    if (roll < 160) s.op = kLoadLocal, s.imm = Local();
    else if (roll < 260) s.op = kStoreLocal, s.imm = Local();
    else if (roll < 330) s.op = kMoveReg;
    else if (roll < 380) s.op = kMoveImm, s.imm = SmallConstant();
    else if (roll < 430) s.op = kLeaLocal, s.imm = Local();
    else if (roll < 480) s.op = kCompareImm, s.imm = rng_.Between(-1, 40);
    else if (roll < 520) s.op = kTest;
    else if (roll < 610) s.op = kJcc, s.r1 = static_cast<uint8_t>(rng_.Pick(kConditions)), s.imm = rng_.Between(2, 60);
    else if (roll < 700) s.op = kCall, s.ref = RefKind::Function, s.target = Callee();
    else if (roll < 725) s.op = kCallImport, s.ref = RefKind::Import, s.target = rng_.Below(ImportCount());
    else if (roll < 745) s.op = kPushImm, s.imm = rng_.Between(0, 20);
    else if (roll < 775) {
      s.op = kPushString;
      if (rng_.Percent(70)) s.ref = RefKind::String, s.target = rng_.Below(r_.strings);
      else s.ref = RefKind::WideString, s.target = rng_.Below(r_.wideStrings);
    } else if (roll < 800) s.op = kLoadGlobal, s.ref = RefKind::Global, s.target = rng_.Below(r_.globals);
    else if (roll < 815) s.op = kStoreGlobal, s.ref = RefKind::Global, s.target = rng_.Below(r_.globals);
    else if (roll < 840) s.op = kXorSelf;
    else if (roll < 860) s.op = kAddImm, s.imm = rng_.Between(1, 16) * (rng_.Percent(80) ? 1 : -1);
    else if (roll < 900) s.op = kLoadField, s.imm = Field();
    else if (roll < 925) s.op = kStoreField, s.imm = Field();
    else if (roll < 935) s.op = kIncDec, s.imm = rng_.Below(2);
    else if (roll < 950) s.op = kPushPop, s.imm = rng_.Below(2);
    else if (roll < 965) s.op = kJmpShort, s.imm = rng_.Between(2, 80);
    else if (roll < 975) s.op = kCallVirtual, s.imm = rng_.Between(0, 30) * 4;
    else if (roll < 985) s.op = kLoadByte, s.imm = Field();
    else if (roll < 990) s.op = kShift, s.imm = rng_.Between(1, 8);
    else s.op = kCompareLocal, s.imm = Local();
    return s;
  }

 private:
  static constexpr std::array<int, 8> kConditions = {0x74, 0x75, 0x74, 0x75, 0x7C, 0x7D, 0x7E, 0x7F};
  int Register() {
    // eax, edx, ecx most of all; esi, edi, ebx for values kept across calls.
    static constexpr std::array<int, 12> kRegisters = {0, 0, 0, 0, 2, 2, 2, 1, 1, 6, 7, 3};
    return rng_.Pick(kRegisters);
  }
  int Local() { return -4 * rng_.Between(1, 12); }
  int Field() { return 4 * rng_.Between(0, 24); }
  int SmallConstant() { return rng_.Percent(70) ? rng_.Between(0, 255) : static_cast<int>(rng_.Below(0x10000)); }
  uint32_t Callee() {
    if (rng_.Percent(45)) return rng_.Below(kRuntimeFunctions);
    return rng_.Below(r_.functions);
  }

  Random& rng_;
  const Release& r_;
};

// A compiler emits the same few sequences over and over (set up a call, test
// a result, clear a string); idiom n is one such sequence, the same wherever
// it is used. Low numbers are the common ones.
std::vector<Statement> Idiom(uint32_t n) {
  Random rng(Seed(30, n));
  StatementMaker maker(rng, 1);
  std::vector<Statement> idiom;
  for (int i = rng.Between(2, 6); i > 0; --i) idiom.push_back(maker.Make());
  return idiom;
}

// Appends statements to `body`: idioms mostly, single statements between.
void AppendStatements(std::vector<Statement>& body, size_t at, int count, Random& rng, StatementMaker& maker) {
  std::vector<Statement> added;
  while (static_cast<int>(added.size()) < count) {
    if (rng.Percent(80)) {
      const std::vector<Statement> idiom = Idiom(rng.Below(rng.Below(500) + 1));
      added.insert(added.end(), idiom.begin(), idiom.end());
    } else {
      added.push_back(maker.Make());
    }
  }
  body.insert(body.begin() + static_cast<std::ptrdiff_t>(at), added.begin(), added.end());
}

Function MakeFunction(uint32_t id, int introduced) {
  Random rng(Seed(1, id));
  Function f;
  f.id = id;
  f.prologue = static_cast<uint8_t>(rng.Below(4));
  f.epilogue = static_cast<uint8_t>(rng.Below(3));
  // Many small functions, a few long ones.
  const int size = rng.Percent(50) ? rng.Between(5, 30) : rng.Percent(76) ? rng.Between(30, 80) : rng.Between(80, 300);
  StatementMaker maker(rng, introduced);
  AppendStatements(f.body, 0, size, rng, maker);
  // Old code stays in place; each later release inserts its new functions in
  // a few groups between the old ones, as new units of a program are.
  if (introduced == 1) {
    f.order = uint64_t{id} << 20;
  } else {
    Random group(Seed(2, static_cast<uint64_t>(introduced), id / 40));
    f.order = (uint64_t{group.Below(kReleases[0].functions)} << 20) + (uint64_t{static_cast<uint32_t>(introduced)} << 16) + id;
  }
  return f;
}

// A release's edits to an old function: changed operands, inserted and removed
// statements, now and then a larger rewrite of a stretch.
void EditFunction(Function& f, int release) {
  Random rng(Seed(3, f.id, static_cast<uint64_t>(release)));
  StatementMaker maker(rng, release);
  const int edits = rng.Between(1, 4);
  for (int e = 0; e < edits; ++e) {
    const auto at = static_cast<size_t>(rng.Below(static_cast<uint32_t>(f.body.size())));
    switch (rng.Below(4)) {
      case 0: f.body[at].imm += rng.Between(1, 8) * 4; break;
      case 1: f.body[at] = maker.Make(); break;
      case 2: AppendStatements(f.body, at, rng.Between(1, 6), rng, maker); break;
      default:
        if (f.body.size() > 3) f.body.erase(f.body.begin() + static_cast<std::ptrdiff_t>(at));
        break;
    }
  }
}

std::vector<Function> MakeFunctions(int release) {
  std::vector<Function> functions;
  for (uint32_t id = 0; id < kReleases[release - 1].functions; ++id) {
    const int introduced = IntroducedIn(id, [](const Release& r) { return r.functions; });
    Function f = MakeFunction(id, introduced);
    for (int r = introduced + 1; r <= release; ++r)
      if (Seed(4, id, static_cast<uint64_t>(r)) % 1000 < kReleases[r - 1].editPerMille) EditFunction(f, r);
    functions.push_back(std::move(f));
  }
  std::stable_sort(functions.begin(), functions.end(),
                   [](const Function& a, const Function& b) { return a.order < b.order; });
  return functions;
}

// Writes the code of functions, resolving calls and absolute addresses by
// `layout` (all 0 without one) and listing the absolute addresses in `fixups`.
class CodeWriter {
 public:
  CodeWriter(Bytes& out, uint32_t sectionRva, const Layout* layout, std::vector<Fixup>* fixups)
      : out_(out), rva_(sectionRva), layout_(layout), fixups_(fixups) {}

  void Write(const Function& f) {
    static constexpr std::array<std::array<uint8_t, 8>, 4> kPrologues = {{
        {0x55, 0x8B, 0xEC, 0x83, 0xC4, 0xF0, 0x53, 0x56},  // push ebp; mov ebp,esp; add esp,-16; push ebx; push esi
        {0x53, 0x56, 0x57, 0x8B, 0xF0, 0x8B, 0xDA, 0x90},  // push ebx/esi/edi; mov esi,eax; mov ebx,edx
        {0x55, 0x8B, 0xEC, 0x6A, 0x00, 0x6A, 0x00, 0x53},  // frame with two cleared locals
        {0x55, 0x8B, 0xEC, 0x51, 0x53, 0x8B, 0xD8, 0x90},  // push ecx; push ebx; mov ebx,eax
    }};
    static constexpr std::array<int, 4> kPrologueLength = {8, 7, 8, 7};
    for (int i = 0; i < kPrologueLength[f.prologue]; ++i) out_.U8(kPrologues[f.prologue][i]);
    for (const Statement& s : f.body) Write(s);
    switch (f.epilogue) {
      case 0: out_.U8(0x5E), out_.U8(0x5B), out_.U8(0x8B), out_.U8(0xE5), out_.U8(0x5D), out_.U8(0xC3); break;
      case 1: out_.U8(0x5F), out_.U8(0x5E), out_.U8(0x5B), out_.U8(0xC3); break;
      default: out_.U8(0x5B), out_.U8(0x59), out_.U8(0x5D), out_.U8(0xC2), out_.U16(8); break;
    }
    // Padding to four bytes with "mov eax,eax" and nop, as some linkers pad.
    uint32_t padding = (4 - out_.Size() % 4) % 4;
    for (; padding >= 2; padding -= 2) out_.U8(0x8B), out_.U8(0xC0);
    if (padding) out_.U8(0x90);
  }

 private:
  uint32_t Address(RefKind kind, uint32_t target) const {
    if (!layout_) return 0;
    switch (kind) {
      case RefKind::Function: return layout_->function[target];
      case RefKind::String: return layout_->string[target];
      case RefKind::WideString: return layout_->wideString[target];
      case RefKind::Global: return layout_->global[target];
      case RefKind::Import: return layout_->import[target];
      case RefKind::Class: return layout_->classTable[target];
      default: return 0;
    }
  }
  void Absolute(RefKind kind, uint32_t target) {
    if (fixups_) fixups_->push_back({rva_ + out_.Size()});
    out_.U32(kImageBase + Address(kind, target));
  }
  static uint8_t ModRm(int mod, int reg, int rm) { return static_cast<uint8_t>(mod << 6 | (reg & 7) << 3 | (rm & 7)); }
  // Base registers for [reg+disp8]: eax, edx, ecx, ebx, esi, edi (never esp or ebp).
  static int Base(int r) { return r == 4 || r == 5 ? 3 : r; }

  void Write(const Statement& s) {
    const auto d8 = static_cast<uint8_t>(s.imm);
    switch (s.op) {
      case kLoadLocal: out_.U8(0x8B), out_.U8(ModRm(1, s.r1, 5)), out_.U8(d8); break;
      case kStoreLocal: out_.U8(0x89), out_.U8(ModRm(1, s.r1, 5)), out_.U8(d8); break;
      case kMoveImm: out_.U8(0xB8 + s.r1), out_.U32(static_cast<uint32_t>(s.imm)); break;
      case kMoveReg: out_.U8(0x8B), out_.U8(ModRm(3, s.r1, s.r2)); break;
      case kLeaLocal: out_.U8(0x8D), out_.U8(ModRm(1, s.r1, 5)), out_.U8(d8); break;
      case kCompareImm: out_.U8(0x83), out_.U8(ModRm(3, 7, s.r1)), out_.U8(d8); break;
      case kTest: out_.U8(0x85), out_.U8(ModRm(3, s.r1, s.r1)); break;
      case kJcc: out_.U8(s.r1), out_.U8(d8); break;
      case kCall: {
        out_.U8(0xE8);
        const uint32_t next = rva_ + out_.Size() + 4;
        out_.U32(layout_ ? Address(RefKind::Function, s.target) - next : 0);
        break;
      }
      case kCallImport: out_.U8(0xFF), out_.U8(0x15), Absolute(s.ref, s.target); break;
      case kPushImm: out_.U8(0x6A), out_.U8(d8); break;
      case kPushString: out_.U8(0x68), Absolute(s.ref, s.target); break;
      case kLoadGlobal:
        if (s.r1 == 0) out_.U8(0xA1);
        else out_.U8(0x8B), out_.U8(ModRm(0, s.r1, 5));
        Absolute(s.ref, s.target);
        break;
      case kStoreGlobal: out_.U8(0xA3), Absolute(s.ref, s.target); break;
      case kXorSelf: out_.U8(0x33), out_.U8(ModRm(3, s.r1, s.r1)); break;
      case kAddImm: out_.U8(0x83), out_.U8(ModRm(3, 0, s.r1)), out_.U8(d8); break;
      case kLoadField: out_.U8(0x8B), out_.U8(ModRm(1, s.r1, Base(s.r2))), out_.U8(d8); break;
      case kStoreField: out_.U8(0x89), out_.U8(ModRm(1, s.r1, Base(s.r2))), out_.U8(d8); break;
      case kIncDec: out_.U8((s.imm ? 0x48 : 0x40) + s.r1); break;
      case kPushPop: out_.U8((s.imm ? 0x58 : 0x50) + s.r1); break;
      case kJmpShort: out_.U8(0xEB), out_.U8(d8); break;
      case kCallVirtual: out_.U8(0xFF), out_.U8(ModRm(1, 2, Base(s.r1))), out_.U8(d8); break;
      case kLoadByte: out_.U8(0x0F), out_.U8(0xB6), out_.U8(ModRm(1, s.r1, Base(s.r2))), out_.U8(d8); break;
      case kShift: out_.U8(0xC1), out_.U8(ModRm(3, 4, s.r1)), out_.U8(d8); break;
      default: out_.U8(0x83), out_.U8(0x7D), out_.U8(d8), out_.U8(0); break;  // cmp dword [ebp+d8], 0
    }
  }

  Bytes& out_;
  uint32_t rva_;
  const Layout* layout_;
  std::vector<Fixup>* fixups_;
};

}  // namespace

Program MakeProgram(int release) {
  const Release& r = kReleases[release - 1];
  Program p;
  p.functions = MakeFunctions(release);
  for (uint32_t id = 0; id < r.strings; ++id) {
    std::vector<uint8_t> s = Cp1250(MakeString(id, 0, release));
    s.push_back(0);
    p.strings.push_back(std::move(s));
  }
  for (uint32_t id = 0; id < r.wideStrings; ++id) {
    Bytes w;
    Utf16(w, MakeString(id, 1, release));
    w.U16(0);
    p.wideStrings.push_back(std::move(w.b));
  }
  for (uint32_t id = 0; id < r.globals; ++id) {
    Random rng(Seed(7, id));
    Bytes g;
    std::vector<std::pair<uint32_t, uint32_t>> pointers;
    switch (rng.Below(6)) {
      case 0:
      case 1: g.U32(0); break;                  // a cleared variable
      case 2: g.U32(rng.Below(100)); break;     // a small setting
      case 3:                                   // a record of small numbers and flags
        for (int i = rng.Between(2, 10); i > 0; --i) g.U32(rng.Percent(50) ? rng.Below(16) : rng.Below(0x10000));
        break;
      case 4:                                   // a table of string addresses
        for (int i = rng.Between(2, 12); i > 0; --i) pointers.push_back({g.Size(), rng.Below(r.strings)}), g.U32(0);
        break;
      default:                                  // a byte table
        for (int i = rng.Between(16, 256); i > 0; --i) g.U8(rng.Percent(70) ? 0 : rng.Percent(80) ? rng.Below(16) : rng.Below(256));
        g.Align(4);
        break;
    }
    p.globals.push_back(std::move(g.b));
    p.globalPointers.push_back(std::move(pointers));
  }
  for (uint32_t id = 0; id < r.classes; ++id) {
    Random rng(Seed(8, id));
    std::vector<uint32_t> methods;
    const uint32_t introducedFunctions = kReleases[IntroducedIn(id, [](const Release& x) { return x.classes; }) - 1].functions;
    for (int i = rng.Between(4, 40); i > 0; --i) methods.push_back(rng.Below(introducedFunctions));
    p.classMethods.push_back(std::move(methods));
    p.classNames.push_back(std::string(PickIdentifier(rng)) + std::string(PickIdentifier(rng)));
  }
  return p;
}

// Lookup tables of the kind every program carries: character classes,
// a CRC table, powers of ten, sorted keyword offsets.
void WriteConstantTables(Bytes& out) {
  for (uint32_t c = 0; c < 256; ++c) out.U16((c >= 'a' && c <= 'z') ? 0x102 : (c >= 'A' && c <= 'Z') ? 0x101 : (c >= '0' && c <= '9') ? 0x84 : c < 32 ? 0x20 : 0x10);
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t crc = i;
    for (int k = 0; k < 8; ++k) crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    out.U32(crc);
  }
  uint64_t power = 1;
  for (int i = 0; i < 19; ++i, power *= 10) out.U32(static_cast<uint32_t>(power)), out.U32(static_cast<uint32_t>(power >> 32));
  for (uint32_t i = 0; i < 512; ++i) out.U16(i * 37 + (i * i) % 29);
}

// The import section: descriptors, lookup tables, address tables, names.
// Returns the RVA of each imported function's address-table slot.
std::vector<uint32_t> WriteImports(Bytes& out, uint32_t rva, uint32_t& iatRva, uint32_t& iatSize) {
  const auto& dlls = Imports();
  const uint32_t descriptors = static_cast<uint32_t>(dlls.size() + 1) * 20;
  uint32_t thunks = 0;
  for (const auto& d : dlls) thunks += static_cast<uint32_t>(d.functions.size()) + 1;
  const uint32_t lookupStart = descriptors;
  const uint32_t addressStart = lookupStart + thunks * 4;
  uint32_t nameAt = addressStart + thunks * 4;
  // Hint/name entries and DLL names come after the tables.
  std::vector<uint32_t> hintName, dllName;
  Bytes names;
  for (const auto& d : dlls) {
    for (auto fn : d.functions) {
      hintName.push_back(nameAt + names.Size());
      names.U16(static_cast<uint32_t>(fn.size()) % 97);
      names.Ascii(fn);
      names.U8(0);
      names.Align(2);
    }
    dllName.push_back(nameAt + names.Size());
    names.Ascii(d.name);
    names.U8(0);
    names.Align(2);
  }
  std::vector<uint32_t> slots;
  uint32_t thunk = 0, k = 0;
  for (size_t i = 0; i < dlls.size(); ++i) {
    out.U32(rva + lookupStart + thunk * 4);  // OriginalFirstThunk
    out.U32(0), out.U32(0);
    out.U32(rva + dllName[i]);
    out.U32(rva + addressStart + thunk * 4);  // FirstThunk
    thunk += static_cast<uint32_t>(dlls[i].functions.size()) + 1;
  }
  out.Zeros(20);
  for (int table = 0; table < 2; ++table) {
    k = 0;
    thunk = 0;
    for (const auto& d : dlls) {
      for (size_t f = 0; f < d.functions.size(); ++f, ++k, ++thunk) {
        if (table == 1) slots.push_back(rva + addressStart + thunk * 4);
        out.U32(rva + hintName[k]);
      }
      out.U32(0);
      ++thunk;
    }
  }
  out.Raw(names.b);
  iatRva = rva + addressStart;
  iatSize = thunks * 4;
  return slots;
}

uint32_t ImportDescriptorsSize() { return static_cast<uint32_t>(Imports().size() + 1) * 20; }

void WriteCode(const Program& program, Bytes& out, uint32_t sectionRva, const Layout* layout,
               std::vector<uint32_t>* functionRva, std::vector<Fixup>* fixups) {
  out.b.clear();
  CodeWriter writer(out, sectionRva, layout, fixups);
  for (const Function& f : program.functions) {
    if (functionRva) (*functionRva)[f.id] = sectionRva + out.Size();
    writer.Write(f);
  }
}

}  // namespace upd::sample_program
