// The embedded documents: every catalogue row's document is in the executable, byte for byte,
// and a lookup reads it in place.
#include "document_catalog.h"
#include "document_store.h"
#include "exceptions.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <new>
#include <string>

// Counts this program's live heap blocks, so a test can show that a failed lookup leaves none.
namespace {
std::atomic<long> liveAllocations{0};
}

void* operator new(std::size_t size) {
    if (void* block = std::malloc(size ? size : 1)) {
        ++liveAllocations;
        return block;
    }
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept {
    if (block) {
        --liveAllocations;
        std::free(block);
    }
}

void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}

namespace {

// The document file that the build embedded under the row's resource name, read from the
// source tree (DOCUMENTS_DIR is that folder as this program sees it).
std::string CommittedDocument(const TDocumentEntry& entry) {
    const char* extension = entry.StoredFormat == TDocumentFormat::dfOpenXml ? ".docx" : ".doc";
    std::ifstream file(std::string(DOCUMENTS_DIR) + "/" + entry.ResourceName + extension,
                       std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

std::string Signature(TDocumentFormat format) {
    return format == TDocumentFormat::dfOpenXml ? std::string("PK\x03\x04", 4)
                                                : std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
}

std::string Bytes(classlib::TCustomMemoryStream& stream) {
    return {static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size())};
}

class EmbeddedDocumentTest : public ::testing::TestWithParam<TDocumentEntry> {};

TEST_P(EmbeddedDocumentTest, StreamHoldsTheCommittedDocumentInPlace) {
    const TDocumentEntry& entry = GetParam();
    const std::string committed = CommittedDocument(entry);
    ASSERT_FALSE(committed.empty())
        << "cannot read the committed document of " << entry.ResourceName;

    const auto stream = LoadDocumentStream(entry.ResourceName);
    EXPECT_EQ(stream->Position(), 0);
    ASSERT_EQ(stream->Size(), static_cast<std::int64_t>(committed.size()));
    EXPECT_TRUE(Bytes(*stream) == committed);
    EXPECT_TRUE(Bytes(*stream).starts_with(Signature(entry.StoredFormat)));

    // The bytes are read where the loaded executable holds them, not from a copy.
    MEMORY_BASIC_INFORMATION region{};
    ASSERT_NE(VirtualQuery(stream->Memory(), &region, sizeof region), 0u);
    EXPECT_EQ(region.AllocationBase, static_cast<void*>(GetModuleHandleA(nullptr)));
}

INSTANTIATE_TEST_SUITE_P(EveryCatalogueRow, EmbeddedDocumentTest,
                         ::testing::ValuesIn(DocumentCatalog),
                         [](const auto& info) { return std::string(info.param.ResourceName); });

class MissingDocumentTest : public ::testing::TestWithParam<const char*> {};

TEST_P(MissingDocumentTest, RaisesResNotFoundAndLeavesNothingAllocated) {
    const std::string name = GetParam();
    std::string message;
    message.reserve(64);
    bool raised = false;

    const long before = liveAllocations;
    try {
        LoadDocumentStream(name);
    } catch (const classlib::EResNotFound& error) {
        raised = true;
        message = error.Message();
    }
    const long after = liveAllocations;

    EXPECT_TRUE(raised);
    EXPECT_EQ(message, "Resource " + name + " not found");
    EXPECT_EQ(after, before);
}

INSTANTIATE_TEST_SUITE_P(NamesOutsideTheStore, MissingDocumentTest,
                         ::testing::Values("DOCX", "DOC0", "DOC22", "DOC01", "FILE"));

TEST(DocumentStoreTest, LookupsOfOneDocumentAreIndependent) {
    const TDocumentEntry& entry = CatalogEntryForButton("Button2");
    const std::string committed = CommittedDocument(entry);
    auto first = LoadDocumentStream(entry.ResourceName);
    const auto second = LoadDocumentStream(entry.ResourceName);
    EXPECT_EQ(Bytes(*first), Bytes(*second));

    second->Seek(1000, classlib::soBeginning);
    EXPECT_EQ(first->Position(), 0);

    first.reset();
    std::string rest(committed.size() - 1000, '\0');
    second->ReadBuffer(rest.data(), static_cast<std::int32_t>(rest.size()));
    EXPECT_TRUE(rest == committed.substr(1000));
    EXPECT_TRUE(Bytes(*LoadDocumentStream(entry.ResourceName)) == committed);
}

} // namespace
