"""The built Valkesta.exe, read with pefile (not with the loader the program uses): a 32-bit GUI
program that imports only system DLLs, embeds the 21 committed documents byte for byte as the
named resource type "FILE", and carries the icon "MAINICON".

    executable_resources_test.py <Valkesta.exe> <documents folder> <valkesta.ico>
"""
import pathlib
import struct
import sys
import unittest

import pefile

from icon_test import read_icon

EXECUTABLE, DOCUMENTS, ICON = (pathlib.Path(arg) for arg in sys.argv[1:4])
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "comctl32.dll",
               "advapi32.dll", "msvcrt.dll", "ole32.dll", "oleaut32.dll", "comdlg32.dll",
               "shlwapi.dll", "version.dll"}
RT_ICON, RT_GROUP_ICON = 3, 14
RUSSIAN = 0x0419


def entries_named(directory, name):
    return [e for e in directory.entries if e.name is not None and str(e.name) == name]


class Executable(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.pe = pefile.PE(str(EXECUTABLE))

    def language_entries(self, type_entry, name):
        """The language entries under one named resource of a type."""
        named = entries_named(type_entry.directory, name)
        self.assertEqual(len(named), 1, name)
        return named[0].directory.entries

    def data(self, language_entry):
        return self.pe.get_data(language_entry.data.struct.OffsetToData,
                                language_entry.data.struct.Size)

    def test_is_a_32_bit_gui_program(self):
        self.assertEqual(self.pe.FILE_HEADER.Machine, pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"])
        self.assertEqual(self.pe.OPTIONAL_HEADER.Magic, pefile.OPTIONAL_HEADER_MAGIC_PE)
        self.assertEqual(self.pe.OPTIONAL_HEADER.Subsystem,
                         pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"])

    def test_imports_only_system_dlls(self):
        dlls = {entry.dll.decode().lower() for entry in self.pe.DIRECTORY_ENTRY_IMPORT}
        self.assertIn("kernel32.dll", dlls)
        self.assertLessEqual(dlls, SYSTEM_DLLS)

    def test_file_type_holds_exactly_the_committed_documents(self):
        types = self.pe.DIRECTORY_ENTRY_RESOURCE.entries
        self.assertEqual([str(e.name) for e in types if e.name and str(e.name).upper() == "FILE"],
                         ["FILE"])
        file_type = entries_named(self.pe.DIRECTORY_ENTRY_RESOURCE, "FILE")[0]
        names = [str(e.name) if e.name is not None else e.id for e in file_type.directory.entries]
        self.assertCountEqual(names, [f"DOC{n}" for n in range(1, 22)])
        for name in names:
            with self.subTest(name):
                languages = self.language_entries(file_type, name)
                self.assertEqual([entry.id for entry in languages], [0])
                self.assertEqual(languages[0].data.struct.CodePage, 0)
                committed = list(DOCUMENTS.glob(f"{name}.doc*"))
                self.assertEqual(len(committed), 1)
                self.assertEqual(self.data(languages[0]), committed[0].read_bytes())

    def test_main_icon_is_the_committed_icon_in_russian(self):
        entry, image = read_icon(ICON)
        group_type = [e for e in self.pe.DIRECTORY_ENTRY_RESOURCE.entries if e.id == RT_GROUP_ICON]
        self.assertEqual(len(group_type), 1)
        languages = self.language_entries(group_type[0], "MAINICON")
        self.assertEqual([language.id for language in languages], [RUSSIAN])
        group = self.data(languages[0])
        self.assertEqual(struct.unpack_from("<HHH", group), (0, 1, 1))
        *fields, size, icon_id = struct.unpack_from("<BBBBHHIH", group, 6)
        self.assertEqual((tuple(fields), size), (entry, len(image)))

        icon_type = [e for e in self.pe.DIRECTORY_ENTRY_RESOURCE.entries if e.id == RT_ICON]
        self.assertEqual(len(icon_type), 1)
        icons = [e for e in icon_type[0].directory.entries if e.id == icon_id]
        self.assertEqual(len(icons), 1)
        self.assertEqual([language.id for language in icons[0].directory.entries], [RUSSIAN])
        self.assertEqual(self.data(icons[0].directory.entries[0]), image)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
