"""document_check, the build's gate for the embedded documents: it must reject every damaged,
misplaced or missing document, naming the file, and write the resource script only for a folder
that supplies exactly the catalogue's documents.

    document_check_test.py <document_check> <document_check_sanitized> <documents folder>
"""
import os
import pathlib
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import zipfile

TOOL, SANITIZED_TOOL, DOCUMENTS = (pathlib.Path(arg) for arg in sys.argv[1:4])
DOC_ROWS = ["DOC7", "DOC12", "DOC13", "DOC16"]  # stored as Word 97 .doc; the others as .docx


def stored_name(resource):
    return f"{resource}.doc" if resource in DOC_ROWS else f"{resource}.docx"


def zip_package(entry_names):
    """A small zip archive holding the named entries."""
    with tempfile.SpooledTemporaryFile() as buffer:
        with zipfile.ZipFile(buffer, "w", zipfile.ZIP_DEFLATED) as archive:
            for name in entry_names:
                archive.writestr(name, f"<part name='{name}'/>")
        buffer.seek(0)
        return buffer.read()


def with_zip64_end_records(archive):
    """The same archive with its central directory located through zip64 end records."""
    end = archive.rindex(b"PK\x05\x06")
    count, size, offset = struct.unpack_from("<HII", archive, end + 10)
    record = struct.pack("<IQHHIIQQQQ", 0x06064B50, 44, 45, 45, 0, 0, count, count, size, offset)
    locator = struct.pack("<IIQI", 0x07064B50, 0, end, 1)
    classic = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, 0xFFFF, 0xFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0)
    return archive[:end] + record + locator + classic


NO_STREAM = 0xFFFFFFFF
END_OF_CHAIN = 0xFFFFFFFE


def compound_file(stream_names, first_directory_sector=1, right_sibling_of_last=NO_STREAM):
    """A version 3 compound file: header, one allocation table sector (sector 0) and one
    directory sector (sector 1) whose root storage holds empty streams of the given names,
    chained through their right siblings."""
    header = bytearray(512)
    header[0:8] = bytes.fromhex("D0CF11E0A1B11AE1")
    struct.pack_into("<HHHHH", header, 0x18, 0x3E, 3, 0xFFFE, 9, 6)
    struct.pack_into("<IIIIIIIII", header, 0x28, 0, 1, first_directory_sector, 0, 4096,
                     END_OF_CHAIN, 0, END_OF_CHAIN, 0)
    struct.pack_into("<I", header, 0x4C, 0)
    header[0x50:512] = b"\xff" * (512 - 0x50)
    table = struct.pack("<II", 0xFFFFFFFD, END_OF_CHAIN) + b"\xff" * (512 - 8)

    def entry(name, object_type, right, child):
        raw = bytearray(128)
        encoded = name.encode("utf-16-le") + b"\0\0"
        raw[0:len(encoded)] = encoded
        struct.pack_into("<HBBIII", raw, 0x40, len(encoded), object_type, 1, NO_STREAM, right,
                         child)
        struct.pack_into("<I", raw, 0x74, END_OF_CHAIN)
        return bytes(raw)

    entries = [entry("Root Entry", 5, NO_STREAM, 1 if stream_names else NO_STREAM)]
    for i, name in enumerate(stream_names, start=1):
        last = i == len(stream_names)
        entries.append(entry(name, 2, right_sibling_of_last if last else i + 1, NO_STREAM))
    unused = bytes(0x44) + struct.pack("<III", NO_STREAM, NO_STREAM, NO_STREAM) + bytes(0x30)
    entries += [unused] * (4 - len(entries))
    return bytes(header) + table + b"".join(entries)


def run_tool(tool, folder, script):
    environment = dict(os.environ, ASAN_OPTIONS="exitcode=86", UBSAN_OPTIONS="exitcode=87")
    return subprocess.run([tool, folder, script], capture_output=True, text=True,
                          env=environment)


class CheckerTest(unittest.TestCase):
    def setUp(self):
        temporary = tempfile.TemporaryDirectory(prefix="document-check-")
        self.addCleanup(temporary.cleanup)
        self.work = pathlib.Path(temporary.name)
        self.folder = self.work / "documents"
        shutil.copytree(DOCUMENTS, self.folder)
        self.script = self.work / "documents.rc"

    def put(self, name, data):
        (self.folder / name).write_bytes(data)

    def committed(self, name):
        return (DOCUMENTS / name).read_bytes()


class RejectsBadFolders(CheckerTest):
    # (what, change to the committed folder, file the message must name, reason it must give)
    CASES = [
        ("a .doc renamed to .docx", lambda t: t.put("DOC1.docx", t.committed("DOC7.doc")),
         "DOC1.docx", "zip signature"),
        ("a .docx renamed to .doc", lambda t: t.put("DOC12.doc", t.committed("DOC1.docx")),
         "DOC12.doc", "compound file signature"),
        ("a package without word/document.xml",
         lambda t: t.put("DOC2.docx", zip_package(["[Content_Types].xml", "_rels/.rels"])),
         "DOC2.docx", '"word/document.xml"'),
        ("a package without [Content_Types].xml",
         lambda t: t.put("DOC3.docx", zip_package(["_rels/.rels", "word/document.xml"])),
         "DOC3.docx", '"[Content_Types].xml"'),
        ("a compound file without WordDocument",
         lambda t: t.put("DOC13.doc", compound_file(["1Table", "Data"])),
         "DOC13.doc", '"WordDocument"'),
        ("a .docx cut in half",
         lambda t: t.put("DOC4.docx", t.committed("DOC4.docx")[:2500]),
         "DOC4.docx", "end-of-central-directory"),
        ("a .doc cut after four sectors",
         lambda t: t.put("DOC16.doc", t.committed("DOC16.doc")[:2560]),
         "DOC16.doc", "beyond the end of the file"),
        ("a file of three bytes", lambda t: t.put("DOC5.docx", b"PK\x03"),
         "DOC5.docx", "zip signature"),
        ("an empty file", lambda t: t.put("DOC7.doc", b""), "DOC7.doc", "signature"),
        ("a missing document", lambda t: (t.folder / "DOC6.docx").unlink(),
         "DOC6.docx", "missing"),
        ("a stray DOC22.docx", lambda t: t.put("DOC22.docx", t.committed("DOC1.docx")),
         "DOC22.docx", "no catalogue row"),
        ("a .docx where the row wants .doc",
         lambda t: (t.folder / "DOC7.doc").rename(t.folder / "DOC7.docx"),
         "DOC7.docx", "wrong extension"),
        ("a .doc next to the row's .docx",
         lambda t: t.put("DOC9.doc", t.committed("DOC7.doc")), "DOC9.doc", "wrong extension"),
        ("a central directory beyond the end",
         lambda t: t.put("DOC8.docx", zip_package(["[Content_Types].xml", "word/document.xml"])
                         [:-6] + struct.pack("<IH", 0x7FFFFFF0, 0)),
         "DOC8.docx", "central directory lies beyond"),
        ("a directory chain that leaves the allocation table",
         lambda t: t.put("DOC12.doc", compound_file(["WordDocument"], first_directory_sector=900)),
         "DOC12.doc", "directory sector chain is damaged"),
        ("a directory tree that loops",
         lambda t: t.put("DOC16.doc", compound_file(["1Table", "WordDocument"],
                                                    right_sibling_of_last=1)),
         "DOC16.doc", "directory tree is damaged"),
    ]

    def test_each_bad_document_is_named_with_its_reason(self):
        for what, change, file_name, reason in self.CASES:
            with self.subTest(what):
                self.setUp()
                change(self)
                result = run_tool(TOOL, self.folder, self.script)
                self.assertEqual(result.returncode, 1, result.stderr)
                lines = [line for line in result.stderr.splitlines()
                         if f"{self.folder / file_name}:" in line]
                self.assertTrue(lines, result.stderr)
                self.assertIn(reason, lines[0])
                self.assertFalse(self.script.exists(), "script written for a rejected folder")

    def test_every_problem_is_reported_in_one_run(self):
        (self.folder / "DOC1.docx").unlink()
        self.put("DOC21.docx", b"not a document")
        self.put("DOC30.doc", self.committed("DOC7.doc"))
        result = run_tool(TOOL, self.folder, self.script)
        self.assertEqual(result.returncode, 1)
        for name in ["DOC1.docx", "DOC21.docx", "DOC30.doc"]:
            self.assertIn(f"{self.folder / name}:", result.stderr)


class AcceptsGoodFolders(CheckerTest):
    def test_committed_documents_give_the_resource_script(self):
        result = run_tool(TOOL, DOCUMENTS, self.script)
        self.assertEqual(result.returncode, 0, result.stderr)
        lines = [line for line in self.script.read_text().splitlines()
                 if not line.startswith("//")]
        expected = ["LANGUAGE 0, 0"] + [
            f'DOC{n} FILE "{DOCUMENTS.resolve() / stored_name(f"DOC{n}")}"' for n in range(1, 22)]
        self.assertEqual(lines, expected)

    def test_other_files_in_the_folder_are_ignored(self):
        self.put("README.txt", b"notes")
        self.put("draft.docx", b"anything")
        self.assertEqual(run_tool(TOOL, self.folder, self.script).returncode, 0)

    def test_minimal_documents_of_both_formats_pass(self):
        # The fixtures the rejection cases damage are valid before the damage.
        for what, name, data in [
            ("package", "DOC1.docx", zip_package(["[Content_Types].xml", "word/document.xml"])),
            ("package with upper-case part names", "DOC2.docx",
             zip_package(["[CONTENT_TYPES].XML", "WORD/DOCUMENT.XML"])),
            ("zip64 package", "DOC3.docx",
             with_zip64_end_records(zip_package(["[Content_Types].xml", "word/document.xml"]))),
            ("compound file", "DOC7.doc", compound_file(["1Table", "WordDocument", "Data"])),
        ]:
            with self.subTest(what):
                self.setUp()
                self.put(name, data)
                result = run_tool(TOOL, self.folder, self.script)
                self.assertEqual(result.returncode, 0, result.stderr)

    def test_list_gives_every_row_with_its_full_title(self):
        result = subprocess.run([TOOL, "--list"], capture_output=True, text=True, check=True)
        rows = [tuple(line.split("\t")) for line in result.stdout.splitlines()]
        self.assertEqual(sorted(name for name, _, _ in rows),
                         sorted(f"DOC{n}" for n in range(1, 22)))
        for name, extension, _ in rows:
            self.assertEqual(f"{name}.{extension}", stored_name(name))
        for row in [("DOC7", "doc", "Приказ № 44"),
                    ("DOC9", "docx", "Приказ № 146"),
                    ("DOC19", "docx", "Предельные размеры снятия наличных денег с банковских счетов"),
                    ("DOC20", "docx", "Примеры форматов платежей и расчёты единого платежа"),
                    ("DOC21", "docx", "Таблица МРП, МЗП 2022-2023")]:
            self.assertIn(row, rows)


class SurvivesDamagedDocuments(CheckerTest):
    """Every cut and every corrupted byte of the structures the checker reads ends in a clean
    verdict, under the address and undefined-behaviour sanitizers. Each run fills all 17 .docx
    and 4 .doc places with different damaged copies."""

    PACKAGE = zip_package(["[Content_Types].xml", "_rels/.rels", "word/document.xml"])
    COMPOUND = compound_file(["1Table", "WordDocument", "Data"])
    DOCX_NAMES = [stored_name(f"DOC{n}") for n in range(1, 22) if f"DOC{n}" not in DOC_ROWS]
    DOC_NAMES = [stored_name(name) for name in DOC_ROWS]

    def check_batches(self, docx_variants, doc_variants, must_reject):
        batches = max(-(-len(docx_variants) // len(self.DOCX_NAMES)),
                      -(-len(doc_variants) // len(self.DOC_NAMES)))
        for batch in range(batches):
            placed = []
            for names, variants in [(self.DOCX_NAMES, docx_variants),
                                    (self.DOC_NAMES, doc_variants)]:
                chosen = variants[batch * len(names):(batch + 1) * len(names)]
                for name, data in zip(names, chosen):
                    self.put(name, data)
                    placed.append(name)
            result = run_tool(SANITIZED_TOOL, self.folder, self.script)
            self.assertIn(result.returncode, (0, 1), result.stderr)
            self.assertNotIn("Sanitizer", result.stderr)
            self.assertNotIn("runtime error", result.stderr)
            if must_reject:
                self.assertEqual(result.returncode, 1)
                for name in placed:
                    self.assertIn(f"{self.folder / name}:", result.stderr)
            shutil.rmtree(self.folder)
            shutil.copytree(DOCUMENTS, self.folder)

    def test_every_truncation_is_rejected(self):
        self.check_batches([self.PACKAGE[:n] for n in range(len(self.PACKAGE))],
                           [self.COMPOUND[:n] for n in range(0, len(self.COMPOUND), 4)],
                           must_reject=True)

    def test_corrupted_structure_bytes_end_cleanly(self):
        def flipped(data, positions):
            return [data[:i] + bytes([data[i] ^ 0xFF]) + data[i + 1:] for i in positions]

        # Compound file: the header fields, the allocation table's entries in use, and the
        # name length, type and links of each directory entry.
        structure = list(range(0x18, 0x50)) + list(range(512, 520)) + [
            1024 + 128 * entry + field for entry in range(4) for field in range(0x40, 0x50)]
        self.check_batches(flipped(self.PACKAGE, range(len(self.PACKAGE))),
                           flipped(self.COMPOUND, structure), must_reject=False)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1] + sys.argv[4:])
