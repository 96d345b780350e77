#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "TestFolder.h"

// The built programs and libraries as files: each section starts on a page of the file, so that
// a loader can map the image from its file instead of copying it into private memory, and the
// headers still describe an image the system loads (the programs themselves are run by the
// end-to-end tests).

namespace {

constexpr DWORD Page = 4096;

std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

template <class THeader> THeader At(const std::string& bytes, std::size_t offset) {
    THeader header{};
    if (offset + sizeof header <= bytes.size()) std::memcpy(&header, bytes.data() + offset, sizeof header);
    return header;
}

// The alignment rules of the image's optional header (the same fields for 32 and 64 bits).
template <class TOptional>
void ExpectPageAlignedImage(const std::string& name, const std::string& bytes,
                            const TOptional& optional, const IMAGE_FILE_HEADER& file,
                            std::size_t sections) {
    EXPECT_EQ(optional.FileAlignment, Page) << name;
    EXPECT_EQ(optional.SectionAlignment, Page) << name;
    EXPECT_EQ(optional.SizeOfHeaders % Page, 0u) << name;
    EXPECT_EQ(optional.SizeOfImage % Page, 0u) << name;
    DWORD nextVirtual = 0;
    for (WORD i = 0; i < file.NumberOfSections; ++i) {
        const auto section =
            At<IMAGE_SECTION_HEADER>(bytes, sections + i * sizeof(IMAGE_SECTION_HEADER));
        const char* label = reinterpret_cast<const char*>(section.Name);
        const std::string what = name + " " + std::string(label, strnlen(label, 8));
        EXPECT_EQ(section.VirtualAddress % Page, 0u) << what;
        EXPECT_GE(section.VirtualAddress, nextVirtual) << what << " overlaps the one before";
        nextVirtual = section.VirtualAddress + section.Misc.VirtualSize;
        EXPECT_LE(nextVirtual, optional.SizeOfImage) << what;
        if (section.SizeOfRawData == 0) continue;
        // Its size may end mid-page (the resource section's does): the loader maps whole pages
        // and clears what lies beyond the section's virtual size.
        EXPECT_EQ(section.PointerToRawData % Page, 0u) << what;
        EXPECT_LE(std::size_t{section.PointerToRawData} + section.SizeOfRawData, bytes.size())
            << what << " ends beyond the file";
    }
}

} // namespace

TEST(ImageLayout, EverySectionOfTheBuiltProgramsStartsOnAPageOfTheFile) {
    struct TImage {
        const char* Name;
        bool Required; // built with these tests; the others when their build made them
    };
    const TImage images[] = {{"Mirto.exe", true},  {"Skin.dll", true},     {"Mirto.dll", false},
                             {"Support.exe", false}, {"Hook32.exe", false}, {"Mirto32.dll", false}};
    int checked = 0;
    for (const TImage& image : images) {
        const std::string path = BuiltProgramsFolder() + "\\" + image.Name;
        const std::string bytes = FileBytes(path);
        if (bytes.empty()) {
            EXPECT_FALSE(image.Required) << path << " is missing";
            continue;
        }
        ++checked;
        const auto dos = At<IMAGE_DOS_HEADER>(bytes, 0);
        ASSERT_EQ(dos.e_magic, IMAGE_DOS_SIGNATURE) << image.Name;
        const auto nt = static_cast<std::size_t>(dos.e_lfanew);
        ASSERT_EQ(At<DWORD>(bytes, nt), static_cast<DWORD>(IMAGE_NT_SIGNATURE)) << image.Name;
        const auto file = At<IMAGE_FILE_HEADER>(bytes, nt + sizeof(DWORD));
        const std::size_t optional = nt + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER);
        const std::size_t sections = optional + file.SizeOfOptionalHeader;
        const WORD magic = At<WORD>(bytes, optional);
        if (magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC)
            ExpectPageAlignedImage(image.Name, bytes, At<IMAGE_OPTIONAL_HEADER64>(bytes, optional),
                                   file, sections);
        else if (magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC)
            ExpectPageAlignedImage(image.Name, bytes, At<IMAGE_OPTIONAL_HEADER32>(bytes, optional),
                                   file, sections);
        else
            ADD_FAILURE() << image.Name << ": optional header magic " << magic;
    }
    EXPECT_GE(checked, 2);
}
