// The open action end to end: real files in the test prefix's c:\Nemtora, and real shell
// requests answered by the recorder registered for ".docx" and ".doc".
#include "open_document.h"

#include "document_store.h"
#include "exceptions.h"
#include "open_document_harness.h"
#include "windows1251.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const TDocumentEntry& Entry(const char* buttonName) {
    return CatalogEntryForButton(buttonName);
}

class OpenDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveDocumentFolder();
        ASSERT_FALSE(DocumentFolderExists());
    }
    void TearDown() override { RemoveDocumentFolder(); }

    // Opening the entry raises Error with that message, before any shell request.
    template <class Error>
    void ExpectOpenRaises(const TDocumentEntry& entry, const std::string& message) {
        try {
            OpenDocument(entry, owner_);
            ADD_FAILURE() << "no exception";
        } catch (const Error& error) {
            EXPECT_EQ(error.Message(), message);
        } catch (const classlib::Exception& other) {
            ADD_FAILURE() << "another exception: " << other.Message();
        }
        EXPECT_FALSE(owner_.HandleAllocated())
            << "the owner's window is made for the shell request only";
    }

    // A control without a parent is a hidden top-level window, as owner of the shell requests.
    classlib::TWinControl owner_{nullptr};
    ShellRequestLog shellLog_;
};

TEST_F(OpenDocumentTest, FirstOpenMakesTheFolderWritesTheDocumentAndAsksTheShellOnce) {
    const TDocumentEntry& entry = Entry("Button1");
    const std::string path = u8"c:\\Nemtora\\Указ № 229.docx"_w1251;
    ASSERT_EQ(FullPath(entry), path);
    ASSERT_FALSE(owner_.HandleAllocated());

    OpenDocument(entry, owner_);

    EXPECT_TRUE(DocumentFolderExists());
    EXPECT_EQ(FilesInDocumentFolder(), std::vector<std::string>{entry.FileName});
    EXPECT_TRUE(ReadWholeFile(path) == EmbeddedDocument(entry)) << "not the embedded document";
    EXPECT_TRUE(owner_.HandleAllocated());
    EXPECT_EQ(shellLog_.Requests(), (std::vector<ShellRequest>{{path, SW_RESTORE}}));
}

TEST_F(OpenDocumentTest, EveryDocumentGetsAFileOfItsOwn) {
    std::vector<std::string> fileNames;
    std::vector<ShellRequest> expected;
    for (const TDocumentEntry& entry : DocumentCatalog) {
        OpenDocument(entry, owner_);
        fileNames.push_back(entry.FileName);
        expected.push_back({FullPath(entry), SW_RESTORE});
    }

    std::sort(fileNames.begin(), fileNames.end());
    EXPECT_EQ(FilesInDocumentFolder(), fileNames);
    for (const TDocumentEntry& entry : DocumentCatalog)
        EXPECT_TRUE(ReadWholeFile(FullPath(entry)) == EmbeddedDocument(entry)) << entry.ButtonName;
    // The recorders log in the order they get to it, not necessarily the order of the requests.
    std::vector<ShellRequest> requests = shellLog_.Requests();
    const auto byPath = [](const ShellRequest& a, const ShellRequest& b) {
        return a.path < b.path;
    };
    std::sort(requests.begin(), requests.end(), byPath);
    std::sort(expected.begin(), expected.end(), byPath);
    EXPECT_EQ(requests, expected);
}

TEST_F(OpenDocumentTest, ExtractDocumentReturnsThePathOfTheWrittenFile) {
    const TDocumentEntry& entry = Entry("Button16");
    EnsureDocumentFolder();
    const auto stream = LoadDocumentStream(entry.ResourceName);

    const std::string path = ExtractDocument(*stream, entry.FileName);

    EXPECT_EQ(path,
              u8"c:\\Nemtora\\Примеры форматов платежей и расчёты единого платежа.docx"_w1251);
    EXPECT_TRUE(ReadWholeFile(path) == EmbeddedDocument(entry));
    EXPECT_TRUE(shellLog_.Requests().empty());
}

TEST_F(OpenDocumentTest, ReopeningReplacesTheEditedFileWhole) {
    const TDocumentEntry& entry = Entry("Button39");
    const std::string embedded = EmbeddedDocument(entry);
    OpenDocument(entry, owner_);
    // Longer than the document, so a file that was not emptied first would show its tail.
    WriteWholeFile(FullPath(entry), std::string(embedded.size() + 1000, 'x'));

    OpenDocument(entry, owner_);

    EXPECT_TRUE(ReadWholeFile(FullPath(entry)) == embedded);
    EXPECT_EQ(shellLog_.Requests(), (std::vector<ShellRequest>(2, {FullPath(entry), SW_RESTORE})));
}

TEST_F(OpenDocumentTest, FolderDeletedBetweenOpensIsMadeAgain) {
    const TDocumentEntry& entry = Entry("Button2");
    OpenDocument(entry, owner_);
    RemoveDocumentFolder();
    ASSERT_FALSE(DocumentFolderExists());

    OpenDocument(entry, owner_);

    EXPECT_TRUE(ReadWholeFile(FullPath(entry)) == EmbeddedDocument(entry));
    EXPECT_EQ(shellLog_.Requests().size(), 2u);
}

TEST_F(OpenDocumentTest, EnsureDocumentFolderKeepsWhatIsThere) {
    EnsureDocumentFolder();
    ASSERT_TRUE(DocumentFolderExists());
    const std::string userFile = std::string(DocumentFolder) + "\\notes.txt";
    WriteWholeFile(userFile, "the user's");

    EXPECT_NO_THROW(EnsureDocumentFolder());

    EXPECT_EQ(ReadWholeFile(userFile), "the user's");
}

TEST_F(OpenDocumentTest, MissingDocumentTouchesNoFileAndMakesNoRequest) {
    const TDocumentEntry missing{"Button99", "Missing",      "TabSheet1",
                                 "DOCX",     "Missing.docx", TDocumentFormat::dfOpenXml};

    ExpectOpenRaises<classlib::EResNotFound>(missing, "Resource DOCX not found");

    EXPECT_TRUE(DocumentFolderExists()) << "the folder is made before the lookup";
    EXPECT_TRUE(FilesInDocumentFolder().empty());
    EXPECT_TRUE(shellLog_.Requests().empty());
}

TEST_F(OpenDocumentTest, FileHeldOpenElsewhereIsLeftAloneWhileOthersStillOpen) {
    const TDocumentEntry& held = Entry("Button2");
    EnsureDocumentFolder();
    WriteWholeFile(FullPath(held), "shown in a word processor");
    {
        HeldFile holder(FullPath(held));

        ExpectOpenRaises<classlib::EFCreateError>(
            held, u8"Cannot create file c:\\Nemtora\\Приказ № 146.docx"_w1251);
        EXPECT_TRUE(shellLog_.Requests().empty());

        const TDocumentEntry& other = Entry("Button5");
        OpenDocument(other, owner_);
        EXPECT_EQ(shellLog_.Requests(), (std::vector<ShellRequest>{{FullPath(other), SW_RESTORE}}));
    }
    EXPECT_EQ(ReadWholeFile(FullPath(held)), "shown in a word processor");
}

TEST_F(OpenDocumentTest, PlainFileInPlaceOfTheFolderFailsEveryOpenAndStaysAsItIs) {
    WriteWholeFile(DocumentFolder, "not a folder");

    for (const char* button : {"Button2", "Button14", "Button12"}) {
        SCOPED_TRACE(button);
        ExpectOpenRaises<classlib::EFCreateError>(Entry(button),
                                                  "Cannot create file " + FullPath(Entry(button)));
    }

    EXPECT_FALSE(DocumentFolderExists());
    EXPECT_EQ(ReadWholeFile(DocumentFolder), "not a folder");
    EXPECT_TRUE(shellLog_.Requests().empty());
}

// Removes the ".docx" file type for one test and puts it back afterwards.
class DocxTypeUnregistered {
public:
    DocxTypeUnregistered() {
        char value[256];
        LONG size = sizeof value;
        if (RegQueryValueA(HKEY_CLASSES_ROOT, ".docx", value, &size) != ERROR_SUCCESS)
            throw std::runtime_error("no .docx file type registered to remove");
        fileClass_ = value;
        if (RegDeleteKeyA(HKEY_CLASSES_ROOT, ".docx") != ERROR_SUCCESS)
            throw std::runtime_error("cannot remove the .docx file type");
    }
    ~DocxTypeUnregistered() {
        RegSetValueA(HKEY_CLASSES_ROOT, ".docx", REG_SZ, fileClass_.c_str(), fileClass_.size());
    }

private:
    std::string fileClass_;
};

TEST_F(OpenDocumentTest, FileTypeWithoutApplicationStillGetsItsFile) {
    const TDocumentEntry& entry = Entry("Button1");
    const DocxTypeUnregistered unregistered;

    EXPECT_NO_THROW(OpenDocument(entry, owner_));

    EXPECT_TRUE(ReadWholeFile(FullPath(entry)) == EmbeddedDocument(entry));
    EXPECT_TRUE(shellLog_.Requests().empty());
}

// Run as an ordinary user by read-only-as-user.sh: Wine run by root writes read-only files.
using OpenDocumentReadOnlyTest = OpenDocumentTest;

TEST_F(OpenDocumentReadOnlyTest, ReadOnlyFileIsLeftAlone) {
    const TDocumentEntry& entry = Entry("Button2");
    EnsureDocumentFolder();
    WriteWholeFile(FullPath(entry), "kept by the user");
    ASSERT_TRUE(SetFileAttributesA(FullPath(entry).c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_FALSE(OwnFileHandle(
        CreateFileA(FullPath(entry).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)))
        << "a read-only file can be written here: run this as an ordinary user";

    ExpectOpenRaises<classlib::EFCreateError>(
        entry, u8"Cannot create file c:\\Nemtora\\Приказ № 146.docx"_w1251);

    EXPECT_EQ(ReadWholeFile(FullPath(entry)), "kept by the user");
    EXPECT_TRUE(shellLog_.Requests().empty());
}

// Run by full-disk.sh, with c:\Nemtora on a file system of 12 KiB; the folder is that file
// system's root, so the cases empty it instead of removing it.
struct DiskFill {
    const char* name;
    ULONGLONG bytesLeftFree; // by a filler file; the file system counts in 4 KiB pages
};

class OpenDocumentFullDiskTest : public OpenDocumentTest,
                                 public ::testing::WithParamInterface<DiskFill> {
protected:
    void SetUp() override { EmptyDocumentFolder(); }
    void TearDown() override { EmptyDocumentFolder(); }
};

ULONGLONG FreeBytesInDocumentFolder() {
    ULARGE_INTEGER free{};
    if (!GetDiskFreeSpaceExA((std::string(DocumentFolder) + "\\").c_str(), &free, nullptr, nullptr))
        throw std::runtime_error("cannot read the free space of the document folder");
    return free.QuadPart;
}

void FillDocumentFolderLeaving(ULONGLONG bytesLeftFree) {
    const ULONGLONG free = FreeBytesInDocumentFolder();
    // Asking for more than fits just writes less, which fills the disk up.
    const std::string filler(bytesLeftFree > 0 ? free - bytesLeftFree : free + 4096, 'f');
    const UniqueHandle file =
        OwnFileHandle(CreateFileA((std::string(DocumentFolder) + "\\filler").c_str(), GENERIC_WRITE,
                                  0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file)
        throw std::runtime_error("cannot make the filler file");
    WriteFile(file.get(), filler.data(), filler.size(), &written, nullptr);
}

TEST_P(OpenDocumentFullDiskTest, IncompleteFileIsRemoved) {
    const TDocumentEntry& entry = *std::max_element(
        DocumentCatalog.begin(), DocumentCatalog.end(), [](const auto& a, const auto& b) {
            return EmbeddedDocument(a).size() < EmbeddedDocument(b).size();
        });
    ASSERT_LT(FreeBytesInDocumentFolder(), 65536u)
        << "c:\\Nemtora is not on a small file system: run this through full-disk.sh";
    FillDocumentFolderLeaving(GetParam().bytesLeftFree);
    ASSERT_EQ(FreeBytesInDocumentFolder(), GetParam().bytesLeftFree);
    ASSERT_LT(GetParam().bytesLeftFree, EmbeddedDocument(entry).size());

    ExpectOpenRaises<classlib::EWriteError>(entry, "Stream write error");

    EXPECT_EQ(GetFileAttributesA(FullPath(entry).c_str()), INVALID_FILE_ATTRIBUTES)
        << "a partly written document is left in the folder";
    EXPECT_TRUE(shellLog_.Requests().empty());
}

INSTANTIATE_TEST_SUITE_P(Disk, OpenDocumentFullDiskTest,
                         ::testing::Values(DiskFill{"PartlyFull", 4096},
                                           DiskFill{"CompletelyFull", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
