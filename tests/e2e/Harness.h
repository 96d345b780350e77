#pragma once
// Drives the real Mirto.exe from outside, as a user and Windows would: a program folder of its
// own with fixture files, the process started with arguments, its windows found by class, keys
// pressed with SendInput into a focused window of this process, and the program ended whatever
// happens. Every wait polls a condition while this thread's messages are pumped, so that the
// keyboard hook (which runs in the thread receiving the keys) and cross-process window calls
// are never stalled by the waiting test.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

// Long enough for a Wine start-up on a busy machine; a passing wait returns at once.
inline constexpr DWORD DefaultTimeout = 30000;

// The folder of the built programs: MIRTO_BIN (a Linux path reads as drive Z: under Wine), or
// the first bin folder with Mirto.exe above the running program's folder.
std::string BinFolder();
// Whether the display has a window manager (the run scripts start one; MIRTO_WINDOW_MANAGER=none
// asks for a display without one).
bool WindowManagerRuns();
// Has the window manager activate the window, as a user's click does, and waits until it is the
// active one: from then on the X server sends the keys to it. (Wine's own foreground changes at
// once, the X focus only when the manager has acted.) False for a window that no window manager
// handles.
bool ActivateThroughX(HWND window);

// A file's bytes; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// Handles this thread's waiting messages.
void PumpMessages();
// Pumps messages until the condition holds or the time is up; returns the condition's last
// answer.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = DefaultTimeout);

// A program folder of its own under the temporary folder, with Mirto.exe, a hook library called
// Mirto.dll, the hook's 32-bit half (Mirto32.dll, Hook32.exe) and a skin library called Skin.dll;
// removed with everything in it at the end.
class TProgramFolder {
public:
    // The files under BinFolder() that become Mirto.dll and Skin.dll in the folder. The default
    // skin library draws the plain look of an empty skin (720 x 480, black).
    explicit TProgramFolder(const std::string& hookLibrary = "Mirto.dll",
                            const std::string& skinLibrary = "testing\\PlainSkin.dll");
    ~TProgramFolder();
    TProgramFolder(const TProgramFolder&) = delete;
    TProgramFolder& operator=(const TProgramFolder&) = delete;

    // Copies the files of a folder (a path ending with a separator) into a folder "Skin" of
    // this one: the sample skins, for the settings to name as "Skin\\<name>.ini".
    bool CopySkins(const std::string& from) const;

    // True when the folder was made and the programs were copied into it.
    bool Ready() const { return IsReady; }
    // The folder, ending with a backslash.
    const std::string& Path() const { return Folder; }
    std::string FilePath(const std::string& name) const { return Folder + name; }
    bool Write(const std::string& name, const std::string& bytes) const;
    bool Exists(const std::string& name) const;
    // The file's bytes; empty when it cannot be read.
    std::string Read(const std::string& name) const;

private:
    std::string Folder;
    bool IsReady = false;
};

// One run of Mirto.exe. Destruction ends it: its message boxes are answered and its form is
// closed normally, and a program that does not end in good time is terminated.
class TMirto {
public:
    // Started in currentFolder (a path), or in the program folder when none is given.
    TMirto(const TProgramFolder& folder, const std::string& arguments = {},
           const std::string& currentFolder = {});
    ~TMirto();
    TMirto(const TMirto&) = delete;
    TMirto& operator=(const TMirto&) = delete;

    bool Started() const { return Process != nullptr; }
    bool Running() const;
    DWORD ProcessId() const { return Id; }
    HANDLE ProcessHandle() const { return Process; }

    // The program's top-level windows of a class (visible or not).
    std::vector<HWND> Windows(const char* className) const;
    // The main form (the menu window), or none.
    HWND Form() const;
    // The first visible dialog window of the program with the caption, or none.
    HWND VisibleDialog(const char* caption) const;
    // The first visible message box of the program, or none.
    HWND MessageBoxWindow() const;

    // The form exists and its tray icon is shown: the deferred start-up has finished.
    bool WaitResident(DWORD timeoutMs = DefaultTimeout) const;
    // Waits for a visible message box and returns it, or none.
    HWND WaitMessageBox(DWORD timeoutMs = DefaultTimeout) const;
    bool WaitExit(DWORD timeoutMs = DefaultTimeout) const;
    // The exit code once the process has ended (STILL_ACTIVE before).
    DWORD ExitCode() const;

    // Ends the program: the normal close first, termination when that does not end it.
    void Stop();

private:
    HANDLE Process = nullptr;
    DWORD Id = 0;
};

// Whether the notification area holds the icon (window, identifier). Asked with a modify that
// changes nothing, which the shell answers with success only for an icon it holds.
bool TrayIconPresent(HWND window, UINT id = 1);

// The message text of a message box (its static control with text).
std::string MessageBoxText(HWND box);
// Answers a message box with one of its buttons (OK unless told).
void CloseMessageBox(HWND box, int button = IDOK);

// Keys typed through the X server (its XTEST extension), as a keyboard types them: Wine takes them
// from the window that has the X focus, so they stay held however the focus moves. Each call
// returns once the X server has taken the keys; the window that receives them reads them when
// its thread next looks at its messages. A key that the virtual display's keyboard lacks goes
// with SendInput.
void KeyDown(WORD virtualKey);
void KeyUp(WORD virtualKey);
// Releases the keys in order, together (one event after another, as a hand lets go).
void ReleaseKeys(std::initializer_list<WORD> keys);
// Presses the keys in order and releases them in reverse order.
void PressKeys(std::initializer_list<WORD> keys);
// A key from SendInput, which Wine hands to the foreground window's thread without the X server:
// for the keys a keyboard of the virtual display lacks, and for a test about such input.
void SendInputKey(WORD virtualKey, bool up);
// Releases Shift, Control and Alt if the system sees them down (after a test that stopped
// half-way, so that the next one starts clean).
void ReleaseModifiers();
// Brings this thread's key state (GetKeyState, which the keyboard hook asks in the thread that
// receives a key) in line with the system's. A thread learns of key changes only from the key
// messages it reads; releases that went to the menu window leave it thinking the keys are still
// down, and Wine does not correct that while a key message is being handled.
void SyncKeyState();

// A top-level window of the test's own: it takes the focus for the keys and records the key
// messages it receives. Alt pressed alone does not open a window menu in it.
class TTestWindow {
public:
    // extendedStyle WS_EX_APPWINDOW makes it an application's window to a window manager, which
    // then hands it the X focus (and so the keys) when it is brought to the foreground.
    TTestWindow(const char* caption, DWORD style, int x, int y, int width, int height,
                COLORREF colour = RGB(255, 255, 255), DWORD extendedStyle = 0);
    ~TTestWindow();
    TTestWindow(const TTestWindow&) = delete;
    TTestWindow& operator=(const TTestWindow&) = delete;

    HWND Handle() const { return Window; }
    // Brings the window to the foreground with the keyboard focus, waits until it has them and
    // brings the thread's key state up to date.
    bool Focus();
    // Brings the window to the foreground (a minimised window has no keyboard focus) and waits
    // until it is there.
    bool Activate();
    RECT Rect() const;
    // How many key-up messages (WM_KEYUP or WM_SYSKEYUP) for the key the window has received.
    int KeyUps(WORD virtualKey) const;
    // Sends the keys down and up (as PressKeys) and waits until the window has received the
    // release of the first key, which comes last: by then the keyboard hook has seen them all.
    bool Type(std::initializer_list<WORD> keys);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND Window = nullptr;
    HBRUSH Brush = nullptr;
    std::vector<WORD> Releases;
};

// Another program's dialog driven as a user's clicks and keys would drive it. Its controls are
// found by identifier among all its descendants (the pages of a tabbed dialog are child
// dialogs); texts go by message, as GetWindowText does not reach another program's edit
// controls; a list's choice is the position and then the notice its parent expects.
HWND FindControl(HWND dialog, int id);
std::string ControlText(HWND control);
void SetControlText(HWND control, const char* text);
void ChooseInCombo(HWND combo, int position);
void ChooseInList(HWND list, int line);
// The text of a list box's line (LB_GETTEXT); empty outside the list.
std::string ListLine(HWND list, int line);
// A button's click as its parent hears of it.
void ClickButton(HWND button);
// Selects and focuses an item of another program's list view, as a click does (the item state
// travels in a block of that program's memory); false when the block cannot be made.
bool SelectListViewItem(HANDLE process, HWND list, int item);

// The rectangle of a window.
RECT WindowRect(HWND window);
// Asks a window's thread to answer a message, and so to take one more turn of its message loop.
bool RoundTrip(HWND window);
// The process has loaded the library (a file name such as "user32.dll").
bool ModuleLoaded(DWORD processId, const char* fileName);

// The menu window's size with the program's standard skin.
inline constexpr int MenuWidth = 720;
inline constexpr int MenuHeight = 480;

// A point of the screen that the menu covers at none of its positions (centre and the four
// corners of the work area). Under Wine a window that appears under the mouse pointer makes its
// process take the X server's keyboard state, in which keys pressed by SendInput are up: so
// keys held through the menu's appearance need the pointer elsewhere.
POINT ParkingSpot(int menuWidth = MenuWidth, int menuHeight = MenuHeight);
// Moves the mouse pointer to the parking spot and returns it.
POINT ParkPointer();

// A clipboard listener of the caller's own: Wine tells all listeners of a change at once, and at
// no fixed time after the clipboard closes, so the program has been told when this one has.
class TClipboardListener {
public:
    TClipboardListener();
    ~TClipboardListener();
    TClipboardListener(const TClipboardListener&) = delete;
    TClipboardListener& operator=(const TClipboardListener&) = delete;

    // The clipboard changes heard of so far.
    LONG_PTR Updates() const;
    // Waits until a change after the count seen has been heard of, then for two round trips to
    // the program's window. The program's notice is queued by then, but the round trips do not
    // prove it handled: the messages sent to a thread go before those posted to it. Enough for
    // a copy the program does not read (a picture, an excluded text), whose notice may come late.
    bool WaitChangeTaken(LONG_PTR seen, HWND program) const;
    // Copies a Unicode text as a program does that renders it only when a reader asks for it,
    // and waits until someone has read it and closed the clipboard: the program, the only other
    // reader. A copy made next cannot replace this one before the program has it.
    bool CopyAndWaitRead(const std::wstring& text);

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND Window = nullptr;
    LONG_PTR UpdateCount = 0;
    LONG_PTR RenderCount = 0;
    std::wstring Text;
};

// Presses the two keys (after beforePress, which puts the application in front, say) and holds
// them until the menu window is in front. True when the menu came.
bool HoldUntilMenu(HWND form, WORD first, WORD second, const std::function<void()>& beforePress);

// Puts a Unicode text on the clipboard as another program does, with an extra registered format
// without data when one is given.
bool PutClipboardText(const std::wstring& text, UINT extraFormat = 0);
// Puts a one-pixel picture alone on the clipboard.
bool PutClipboardPicture();

// The test application (tests/e2e/target, Target64.exe or Target32.exe), started at the pointer's
// parking spot and closed at the end. Its edit control takes the keys and the pastes.
class TTarget {
public:
    explicit TTarget(const char* program);
    ~TTarget();
    TTarget(const TTarget&) = delete;
    TTarget& operator=(const TTarget&) = delete;

    HWND Handle() const { return Window; }
    bool Is32Bit() const;
    // Brings it to the foreground and waits until it is there.
    bool Focus() const;
    // Asks it one of its requests (see Target.cpp); -2 when it does not answer.
    LRESULT Ask(WPARAM request) const;
    // Presses and releases the key in the application, and waits until it has taken the release
    // from its queue: by then its keyboard hook has seen both.
    bool Tap(WORD key) const;
    // The text of its edit control, and setting it.
    std::wstring Text() const;
    void SetText(const std::wstring& text) const;

private:
    HANDLE Process = nullptr;
    HWND Window = nullptr;
    HWND Edit = nullptr;
    UINT Request = 0;
};
