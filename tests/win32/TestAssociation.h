#pragma once
// A file association of the tests' own, registered for the length of one test: extension ->
// class -> shell\open\command.
#include <windows.h>

#include <string>

class TTestAssociation {
public:
    TTestAssociation(const std::string& extension, const std::string& className,
                     const std::string& command)
        : FExtension(extension), FClassName(className) {
        Set(extension, className);
        Set(className + "\\shell\\open\\command", command);
    }
    ~TTestAssociation() {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, FExtension.c_str());
        RegDeleteKeyA(HKEY_CLASSES_ROOT, FExtension.c_str());
        RegDeleteTreeA(HKEY_CLASSES_ROOT, FClassName.c_str());
        RegDeleteKeyA(HKEY_CLASSES_ROOT, FClassName.c_str());
    }
    TTestAssociation(const TTestAssociation&) = delete;
    TTestAssociation& operator=(const TTestAssociation&) = delete;

private:
    static void Set(const std::string& name, const std::string& value) {
        HKEY key;
        if (RegCreateKeyExA(HKEY_CLASSES_ROOT, name.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                            &key, nullptr) != ERROR_SUCCESS)
            return;
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
    }

    std::string FExtension;
    std::string FClassName;
};
