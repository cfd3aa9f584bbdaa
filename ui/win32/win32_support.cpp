#include "ui/win32/win32_support.h"

#include <initguid.h>

#include <oleacc.h>
#include <wincodec.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

namespace ui::win32 {

namespace {

// A COM pointer released at the end of its scope.
template <class T>
class Com {
public:
    Com() = default;
    ~Com() { if (m_p) m_p->Release(); }
    Com(const Com &) = delete;
    Com &operator=(const Com &) = delete;
    T **put() { return &m_p; }
    T *operator->() const { return m_p; }
    T *get() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T *m_p = nullptr;
};

const std::set<std::wstring> &installedFaces()
{
    static const std::set<std::wstring> faces = [] {
        std::set<std::wstring> found;
        HDC dc = GetDC(nullptr);
        LOGFONTW query{};
        query.lfCharSet = DEFAULT_CHARSET;
        EnumFontFamiliesExW(
                dc, &query,
                [](const LOGFONTW *font, const TEXTMETRICW *, DWORD, LPARAM param) -> int {
                    reinterpret_cast<std::set<std::wstring> *>(param)->insert(font->lfFaceName);
                    return 1;
                },
                reinterpret_cast<LPARAM>(&found), 0);
        ReleaseDC(nullptr, dc);
        return found;
    }();
    return faces;
}

bool installed(const wchar_t *face)
{
    return installedFaces().count(face) != 0;
}

// Reads an RCDATA resource holding a PNG into a WIC bitmap source.
bool decodePng(IWICImagingFactory *factory, HINSTANCE instance, const std::wstring &name,
               Com<IWICBitmapFrameDecode> &frame)
{
    HRSRC resource = FindResourceW(instance, name.c_str(), MAKEINTRESOURCEW(10)); // RT_RCDATA
    if (!resource)
        return false;
    HGLOBAL loaded = LoadResource(instance, resource);
    const DWORD size = SizeofResource(instance, resource);
    const void *bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || size == 0)
        return false;
    Com<IWICStream> stream;
    Com<IWICBitmapDecoder> decoder;
    return SUCCEEDED(factory->CreateStream(stream.put()))
            && SUCCEEDED(stream->InitializeFromMemory(static_cast<BYTE *>(const_cast<void *>(bytes)), size))
            && SUCCEEDED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnLoad,
                                                          decoder.put()))
            && SUCCEEDED(decoder->GetFrame(0, frame.put()));
}

HBITMAP toBitmap(IWICBitmapSource *source)
{
    UINT width = 0;
    UINT height = 0;
    if (FAILED(source->GetSize(&width, &height)) || width == 0 || height == 0)
        return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = LONG(width);
    info.bmiHeader.biHeight = -LONG(height); // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return nullptr;
    // 24-bit rows are padded to four bytes. A 24-bit picture is never copied
    // by the static control (32-bit ones may be), so it is ours to delete.
    const UINT stride = (width * 3 + 3) & ~3u;
    if (FAILED(source->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE *>(bits)))) {
        DeleteObject(bitmap);
        return nullptr;
    }
    return bitmap;
}

void setAccessibleText(HWND control, MSAAPROPID property, std::u16string_view text)
{
    Com<IAccPropServices> services;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                reinterpret_cast<void **>(services.put()))))
        return;
    const std::wstring value = wide(text);
    // Wine answers E_NOTIMPL; the hidden label before each box names it there.
    services->SetHwndPropStr(control, DWORD(OBJID_CLIENT), CHILDID_SELF, property, value.c_str());
}

} // namespace

std::wstring wide(std::u16string_view text)
{
    return std::wstring(text.begin(), text.end());
}

std::u16string u16(std::wstring_view text)
{
    return std::u16string(text.begin(), text.end());
}

std::wstring displayText(std::u16string_view caption)
{
    return wide(layout::withLineBreaks(caption, u"\r\n"));
}

std::u16string windowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(std::size_t(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(std::size_t(std::max(copied, 0)));
    return u16(text);
}

int scale(int twips, UINT dpi)
{
    return MulDiv(twips, int(dpi), 1440);
}

RECT scaleRect(const layout::Rect &twips, UINT dpi)
{
    const int left = scale(twips.left, dpi);
    const int top = scale(twips.top, dpi);
    return RECT{left, top, left + scale(twips.width, dpi), top + scale(twips.height, dpi)};
}

std::wstring resolveFace(std::u16string_view designedFace, UINT dpi)
{
    if (designedFace == u"MS Sans Serif") {
        // The bitmap face has fixed sizes: above 96 dpi its outline
        // counterpart keeps the text sharp.
        if (dpi <= 96 && installed(L"MS Sans Serif"))
            return L"MS Sans Serif";
        return L"Microsoft Sans Serif";
    }
    if (designedFace == u"Garamond") {
        // Garamond comes with Office only; Debian's EB Garamond shows up to
        // GDI as "EB Garamond 12".
        for (const wchar_t *face : {L"Garamond", L"EB Garamond 12", L"Palatino Linotype", L"Book Antiqua", L"Georgia"})
            if (installed(face))
                return face;
        return L"Palatino Linotype";
    }
    return wide(designedFace);
}

HFONT createLayoutFont(const layout::Font &font, UINT dpi)
{
    const int height = -MulDiv(int(std::lround(font.points * 100)), int(dpi), 7200);
    const std::wstring face = resolveFace(font.face, dpi);
    return CreateFontW(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       face.c_str());
}

HBITMAP loadPicture(HINSTANCE instance, std::string_view name, UINT dpi)
{
    Com<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void **>(factory.put()))))
        return nullptr;
    std::wstring base;
    for (char c : name)
        base.push_back(wchar_t(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c));

    Com<IWICBitmapFrameDecode> natural;
    if (!decodePng(factory.get(), instance, base, natural))
        return nullptr;
    UINT width = 0;
    UINT height = 0;
    natural->GetSize(&width, &height);
    const UINT targetWidth = UINT(MulDiv(int(width), int(dpi), 96));
    const UINT targetHeight = UINT(MulDiv(int(height), int(dpi), 96));

    // The bitmap drawn for this scale, else the next larger one; the 1x one
    // when nothing larger is there.
    Com<IWICBitmapFrameDecode> drawn;
    IWICBitmapSource *source = natural.get();
    for (int scale = 1; scale <= 3; ++scale) {
        if (scale * 96 < int(dpi))
            continue;
        if (scale > 1 && !decodePng(factory.get(), instance, base + L"_" + std::to_wstring(scale) + L"X", drawn))
            continue;
        if (scale > 1)
            source = drawn.get();
        break;
    }

    Com<IWICFormatConverter> converted;
    if (FAILED(factory->CreateFormatConverter(converted.put()))
        || FAILED(converted->Initialize(source, GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                                        WICBitmapPaletteTypeCustom)))
        return nullptr;
    UINT sourceWidth = 0;
    UINT sourceHeight = 0;
    converted->GetSize(&sourceWidth, &sourceHeight);
    if (sourceWidth == targetWidth && sourceHeight == targetHeight)
        return toBitmap(converted.get());
    Com<IWICBitmapScaler> scaler;
    if (FAILED(factory->CreateBitmapScaler(scaler.put()))
        || FAILED(scaler->Initialize(converted.get(), targetWidth, targetHeight, WICBitmapInterpolationModeFant)))
        return nullptr;
    return toBitmap(scaler.get());
}

void setAccessibleName(HWND control, std::u16string_view name)
{
    setAccessibleText(control, PROPID_ACC_NAME, name);
}

void setAccessibleDescription(HWND control, std::u16string_view description)
{
    setAccessibleText(control, PROPID_ACC_DESCRIPTION, description);
}

} // namespace ui::win32
