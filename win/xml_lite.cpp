#include "win/xml_lite.h"

#include <xmllite.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "win/handles.h"
#include "win/library.h"
#include "win/utf8.h"

namespace win {
namespace {

using quillorb::XmlElement;

constexpr char kDeclaration[] =
    "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\r\n";

// The stream XmlLite reads from or writes to: bytes in memory. It lives on the stack of the one
// who made it, longer than the reader or writer that holds it, so its reference count only keeps
// COM's rules. (COM interfaces have no virtual destructor: objects go through Release.)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class MemoryStream final : public ISequentialStream {
 public:
  explicit MemoryStream(std::string_view input = {}) : input_(input) {}
  std::string output;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == __uuidof(IUnknown) || iid == __uuidof(ISequentialStream)) {
      *object = static_cast<ISequentialStream*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }
  HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG size, ULONG* read) override {
    const size_t n = std::min<size_t>(size, input_.size() - position_);
    std::memcpy(buffer, input_.data() + position_, n);
    position_ += n;
    if (read) *read = static_cast<ULONG>(n);
    return n < size ? S_FALSE : S_OK;
  }
  HRESULT STDMETHODCALLTYPE Write(const void* buffer, ULONG size, ULONG* written) override {
    output.append(static_cast<const char*>(buffer), size);
    if (written) *written = size;
    return S_OK;
  }

 private:
  std::string_view input_;
  size_t position_ = 0;
  ULONG references_ = 1;
};
#pragma GCC diagnostic pop

template <typename I>
ComPtr<I> Create(const char* function) {
  using CreateFn = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);
  const auto create = LibraryFunction<CreateFn>("xmllite.dll", function);
  void* object = nullptr;
  if (!create || FAILED(create(__uuidof(I), &object, nullptr))) return {};
  return ComPtr<I>(static_cast<I*>(object));
}

std::string HexCode(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "%08lX", static_cast<unsigned long>(hr));
  return text;
}

std::string Utf8(const WCHAR* text, UINT length) {
  return WideToUtf8(std::wstring_view(text ? text : L"", text ? length : 0));
}

std::string Name(IXmlReader& reader) {
  const WCHAR* name = nullptr;
  UINT length = 0;
  reader.GetQualifiedName(&name, &length);
  return Utf8(name, length);
}

std::string Value(IXmlReader& reader) {
  const WCHAR* value = nullptr;
  UINT length = 0;
  reader.GetValue(&value, &length);
  return Utf8(value, length);
}

// Whether the writer escapes the markup characters of an attribute's value. Wine's XmlLite up to
// version 8 writes them as they are, so that a macro named "A & B" would make a file no parser
// reads; the value is escaped first for such a writer.
bool WriterEscapesAttributes() {
  static const bool escapes = [] {
    MemoryStream sink;  // first: the writer holds it until the writer goes
    ComPtr<IXmlWriter> writer = Create<IXmlWriter>("CreateXmlWriter");
    if (!writer || FAILED(writer.get()->SetOutput(&sink))) return true;
    writer.get()->SetProperty(XmlWriterProperty_OmitXmlDeclaration, TRUE);
    writer.get()->WriteStartElement(nullptr, L"a", nullptr);
    writer.get()->WriteAttributeString(nullptr, L"b", nullptr, L"&");
    writer.get()->WriteEndElement();
    writer.get()->Flush();
    return sink.output.find("&amp;") != std::string::npos;
  }();
  return escapes;
}

std::wstring AttributeValue(const std::string& value) {
  const std::wstring wide = Utf8ToWide(value);
  if (WriterEscapesAttributes()) return wide;
  struct Reference {
    wchar_t c;
    const wchar_t* text;
  };
  static constexpr Reference kReferences[] = {
      {L'&', L"&amp;"},  {L'<', L"&lt;"},   {L'>', L"&gt;"},  {L'"', L"&quot;"},
      {L'\t', L"&#x9;"}, {L'\n', L"&#xA;"}, {L'\r', L"&#xD;"}};
  std::wstring escaped;
  for (wchar_t c : wide) {
    const auto* reference = std::find_if(std::begin(kReferences), std::end(kReferences),
                                         [c](const Reference& r) { return r.c == c; });
    if (reference == std::end(kReferences)) {
      escaped += c;
    } else {
      escaped += reference->text;
    }
  }
  return escaped;
}

HRESULT WriteElement(IXmlWriter& writer, const XmlElement& element, int depth) {
  HRESULT hr = writer.WriteStartElement(nullptr, Utf8ToWide(element.name).c_str(), nullptr);
  for (const auto& [name, value] : element.attributes) {
    if (FAILED(hr)) return hr;
    hr = writer.WriteAttributeString(nullptr, Utf8ToWide(name).c_str(), nullptr,
                                     AttributeValue(value).c_str());
  }
  if (SUCCEEDED(hr) && !element.text.empty()) {
    hr = writer.WriteString(Utf8ToWide(element.text).c_str());
  }
  for (const XmlElement& child : element.children) {
    if (FAILED(hr)) return hr;
    hr = writer.WriteWhitespace(
        (L"\r\n" + std::wstring(static_cast<size_t>(depth) + 1, L'\t')).c_str());
    if (SUCCEEDED(hr)) hr = WriteElement(writer, child, depth + 1);
  }
  if (SUCCEEDED(hr) && !element.children.empty()) {
    hr =
        writer.WriteWhitespace((L"\r\n" + std::wstring(static_cast<size_t>(depth), L'\t')).c_str());
  }
  return SUCCEEDED(hr) ? writer.WriteEndElement() : hr;
}

}  // namespace

bool ParseXml(std::string_view bytes, XmlElement& root, std::string& error) {
  MemoryStream input(bytes);  // first: the reader holds it until the reader goes
  ComPtr<IXmlReader> created = Create<IXmlReader>("CreateXmlReader");
  if (!created) {
    error = "The system's XML reader (xmllite.dll) is not available.";
    return false;
  }
  IXmlReader& reader = *created.get();
  HRESULT hr = reader.SetInput(&input);
  root = XmlElement{};
  bool haveRoot = false;
  std::vector<XmlElement*> open;  // the elements not closed yet, innermost last
  XmlNodeType type = XmlNodeType_None;
  while (SUCCEEDED(hr) && (hr = reader.Read(&type)) == S_OK) {
    switch (type) {
      case XmlNodeType_Element: {
        XmlElement element{Name(reader), {}, {}, {}};
        for (HRESULT a = reader.MoveToFirstAttribute(); a == S_OK;
             a = reader.MoveToNextAttribute()) {
          element.attributes.emplace_back(Name(reader), Value(reader));
        }
        reader.MoveToElement();
        XmlElement* placed = nullptr;
        if (open.empty()) {
          root = std::move(element);
          haveRoot = true;
          placed = &root;
        } else {
          open.back()->children.push_back(std::move(element));
          placed = &open.back()->children.back();
        }
        if (!reader.IsEmptyElement()) open.push_back(placed);
        break;
      }
      case XmlNodeType_EndElement:
        if (!open.empty()) open.pop_back();
        break;
      case XmlNodeType_Text:
      case XmlNodeType_CDATA:
        if (!open.empty()) open.back()->text += Value(reader);
        break;
      default:  // white space, comments, processing instructions, the declaration
        break;
    }
  }
  if (FAILED(hr) || !haveRoot) {
    UINT line = 0;
    UINT column = 0;
    reader.GetLineNumber(&line);
    reader.GetLinePosition(&column);
    error = FAILED(hr) ? "It is no well-formed XML: line " + std::to_string(line) + ", column " +
                             std::to_string(column) + " (error " + HexCode(hr) + ")."
                       : "It holds no XML element.";
    return false;
  }
  return true;
}

bool SerializeXml(const XmlElement& root, std::string& bytes, std::string& error) {
  // The declaration as the client writes it; XmlLite's own would spell the encoding "UTF-8".
  MemoryStream sink;  // first: the writer holds it until the writer goes
  sink.output = kDeclaration;
  ComPtr<IXmlWriter> created = Create<IXmlWriter>("CreateXmlWriter");
  if (!created) {
    error = "The system's XML writer (xmllite.dll) is not available.";
    return false;
  }
  IXmlWriter& writer = *created.get();
  writer.SetProperty(XmlWriterProperty_OmitXmlDeclaration, TRUE);
  writer.SetProperty(XmlWriterProperty_ByteOrderMark, FALSE);
  HRESULT hr = writer.SetOutput(&sink);
  if (SUCCEEDED(hr)) hr = WriteElement(writer, root, 0);
  if (SUCCEEDED(hr)) hr = writer.Flush();
  if (FAILED(hr)) {
    error = "The XML writer refused the document (error " + HexCode(hr) + ").";
    return false;
  }
  XmlElement back;
  std::string readError;
  if (!ParseXml(sink.output, back, readError) || !(back == root)) {
    error = "The XML written would not read back as it was meant.";
    return false;
  }
  bytes = std::move(sink.output);
  return true;
}

}  // namespace win
