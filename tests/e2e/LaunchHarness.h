#pragma once
// Helpers of the launch-menu tests: built fixture programs copied where a test needs them, a
// picture of a window as the screen shows it, the recorder's notes, the processes that a
// launch left behind, a file association of the test's own, and top-level windows of other
// programs found by their caption.
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

// Copies a built program (a name under BinFolder(), such as "testing\\recorder.exe") to the
// destination path; false when it cannot.
bool CopyBuiltProgram(const std::string& name, const std::string& destination);

// A picture of a window taken from the screen (what the user sees), 32 bits per pixel, with
// (0, 0) at the window's top-left corner.
class TScreenShot {
public:
    // Takes the window's rectangle from the screen; false when the window has no size.
    bool Take(HWND window);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // The pixel as a COLORREF (0x00BBGGRR); black outside the picture.
    COLORREF Pixel(int x, int y) const;
    // How many pixels of the rectangle (right and bottom excluded) the test accepts.
    int Count(const RECT& rect, const std::function<bool(COLORREF)>& accept) const;
    // Whether two pictures differ anywhere inside the rectangle.
    bool Differs(const TScreenShot& other, const RECT& rect) const;
    // Writes the picture as a 24-bit BMP file, replacing the file; false on failure.
    bool Save(const std::string& path) const;

private:
    int FWidth = 0;
    int FHeight = 0;
    std::vector<DWORD> FPixels; // 0x00RRGGBB as a DIB holds them
};

// How much of a pixel a text covers, from its colour between the background's and the text's
// (smoothed edges are in between).
double Coverage(COLORREF pixel, COLORREF background, COLORREF text);
// The rows that a text covers at least half of some pixel of, drawn by the test itself black on
// white in "ＭＳ Ｐゴシック" of the size in points at a scale (dots per inch).
int InkHeight(const char* text, int dpi, int points = 9);
// The rows of the first run of rows, from the top, with a pixel that a text of the colour covers
// at least half of, in a rectangle of the background's colour.
int FirstInkRun(const TScreenShot& shot, const RECT& panel, COLORREF background, COLORREF text);

// The folder where the tests leave their pictures of the menu: MIRTO_E2E_SHOTS, else
// "e2e-shots" two levels above BinFolder() (build/e2e-shots for the build's bin folder). Made
// when missing; ends with a backslash.
std::string ShotFolder();

// The recorder's notes (program, commandline, folder, flags, show) read from its output file;
// empty when the file is not there or cannot be read.
std::map<std::string, std::string> ReadRecord(const std::string& path);

// The processes whose program file lies inside the folder (the letter case and the short or
// long form of the names do not matter), except the one given and its hook companion.
std::vector<DWORD> ProcessesIn(const std::string& folder, DWORD except = 0);
// Waits until no process runs from the folder (except the one given and its hook companion),
// then ends those still running; returns whether they had all ended by themselves.
bool EndProcessesIn(const std::string& folder, DWORD except = 0, DWORD timeoutMs = 20000);

// A file association of the test's own, registered for its lifetime under HKEY_CLASSES_ROOT:
// extension -> class -> shell\open\command.
class TFileAssociation {
public:
    TFileAssociation(const std::string& extension, const std::string& className,
                     const std::string& command);
    ~TFileAssociation();
    TFileAssociation(const TFileAssociation&) = delete;
    TFileAssociation& operator=(const TFileAssociation&) = delete;

    bool Registered() const { return FRegistered; }

private:
    std::string FExtension;
    std::string FClassName;
    bool FRegistered = false;
};

// The program the shell starts for the addresses of a scheme (the command of the scheme's "open"
// verb under HKEY_CLASSES_ROOT), replaced for the object's lifetime; the former command comes
// back afterwards.
class TSchemeHandler {
public:
    TSchemeHandler(const std::string& scheme, const std::string& command);
    ~TSchemeHandler();
    TSchemeHandler(const TSchemeHandler&) = delete;
    TSchemeHandler& operator=(const TSchemeHandler&) = delete;

    bool Registered() const { return FRegistered; }

private:
    std::string FScheme;
    std::string FFormer;
    bool FHadFormer = false;
    bool FRegistered = false;
};

// Whether the thread is in a single-threaded COM apartment, seen from another process: such an
// apartment keeps a message-only window of class "OleMainThreadWndClass" on its thread.
bool ThreadHasComApartment(DWORD thread);

// A visible top-level window of another process whose caption contains the text.
struct TForeignWindow {
    HWND Window = nullptr;
    DWORD ProcessId = 0;
    std::string Caption;
};
// All visible top-level windows not of this process whose caption contains the text.
std::vector<TForeignWindow> WindowsWithCaption(const std::string& text);
// Closes the window and waits until its process has ended, ending it when it does not.
void CloseForeignWindow(const TForeignWindow& window, DWORD timeoutMs = 10000);
