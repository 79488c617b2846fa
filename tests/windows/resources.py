"""The resources of the built Windows programs, read back from the files with
wrestool and objdump: the manifest, the version record, the icon images,
the imports; then the programs signed with a throwaway certificate by
osslsigncode and verified, as the release step signs them; and a release
build refused without the vendor's web view runtime installer."""
import os
import shutil
import struct
import subprocess
import sys
import xml.etree.ElementTree as ET

import winetest as w

sys.path.insert(0, os.path.join(w.SOURCE, "tools"))
import signing_fixtures  # noqa: E402

ARCH = os.environ.get("QUILLBOX_WINDOWS_ARCH", "amd64")
PROGRAMS = [os.path.join(w.BUILD, name) for name in ("quillbox.exe", "quillbox-test.exe")]

LIBRARIES = ("WINMMBASE FONTSUB USP10 PROPSYS IPHLPAPI URLMON MSISO MLANG WININET D3D10WARP WINMM MSIMG32 "
             "CRYPTBASE SSPICLI WLDP PROFAPI MPR VERSION NETAPI32 SRVCLI TEXTSHAPING WINDOWSCODECS CRYPTSP "
             "MSVCP110_WIN WSOCK32 ATL IMAGERES MSFTEDIT RICHED20 MSLS31 GLU32 OPENGL32 SECUR32 ODBC32 DPAPI").split()
SUPPORTED_OS = ["{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"]
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "shlwapi.dll", "ole32.dll",
               "comctl32.dll", "ws2_32.dll", "crypt32.dll", "bcrypt.dll", "msvcrt.dll"}
ASM = "{urn:schemas-microsoft-com:asm.v1}"


def resource(exe, kind, name):
    return subprocess.run(["wrestool", "-x", "--raw", "-t", str(kind), "-n", str(name), exe],
                          capture_output=True, check=True).stdout


def listing(exe):
    out = subprocess.run(["wrestool", "-l", exe], capture_output=True, text=True, check=True).stdout
    found = set()
    for line in out.splitlines():
        fields = dict(f.lstrip("-").split("=", 1) for f in line.split() if f.startswith("--"))
        found.add((int(fields["type"]), int(fields["name"]), int(fields["language"])))
    return found


def check_manifest(exe, data):
    name = os.path.basename(exe)
    w.check(data.startswith(b'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'),
            "%s: the manifest is UTF-8 XML, standalone" % name)
    w.check(b"trustInfo" not in data, "%s: no trustInfo, so no execution level is requested" % name)
    root = ET.fromstring(data)
    w.check(root.tag == ASM + "assembly" and root.get("manifestVersion") == "1.0", "%s: an assembly, version 1.0" % name)
    kinds = [child.tag.split("}")[-1] for child in root]
    w.check(kinds == ["file"] * 35 + ["compatibility", "assemblyIdentity", "description", "dependency", "application"],
            "%s: 35 files, then compatibility, identity, description, dependency, settings" % name)
    files = [(f.get("name"), f.get("loadFrom")) for f in root.findall(ASM + "file")]
    w.check(files == [(l + ".dll", "%SystemRoot%\\system32\\" + l + ".dll") for l in LIBRARIES],
            "%s: each library pinned to the system folder, in order" % name)
    ids = [e.get("Id") for e in root.iter("{urn:schemas-microsoft-com:compatibility.v1}supportedOS")]
    w.check(ids == SUPPORTED_OS, "%s: Vista, 7, 8, 8.1 and 10 supported" % name)
    identity = root.find(ASM + "assemblyIdentity")
    w.check(identity.attrib == {"version": "1.0.0.0", "processorArchitecture": ARCH,
                                "name": "CompanyName.ProductName.YourApp", "type": "win32"},
            "%s: the assembly identity names %s" % (name, ARCH))
    w.check((root.find(ASM + "description").text or "") == "", "%s: an empty description" % name)
    controls = root.find(ASM + "dependency/" + ASM + "dependentAssembly/" + ASM + "assemblyIdentity")
    w.check(controls.attrib == {"type": "win32", "name": "Microsoft.Windows.Common-Controls", "version": "6.0.0.0",
                                "processorArchitecture": ARCH, "publicKeyToken": "6595b64144ccf1df", "language": "*"},
            "%s: common controls 6 for %s" % (name, ARCH))
    dpi = root.find("{urn:schemas-microsoft-com:asm.v3}application/{urn:schemas-microsoft-com:asm.v3}windowsSettings/"
                    "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}dpiAware")
    w.check(dpi is not None and dpi.text == "true", "%s: system-DPI aware" % name)


def version_blocks(data, offset=0):
    """One VS_VERSIONINFO block: its key, value bytes and child blocks."""
    length, value_length, kind = struct.unpack_from("<HHH", data, offset)
    end = offset + length
    pos = offset + 6
    key_end = data.index(b"\0\0", pos)
    while (key_end - pos) % 2:
        key_end = data.index(b"\0\0", key_end + 1)
    key = data[pos:key_end].decode("utf-16-le")
    pos = (key_end + 2 + 3) & ~3
    size = value_length * 2 if kind == 1 else value_length
    value = data[pos:pos + size]
    pos = (pos + size + 3) & ~3
    children = []
    while pos < end:
        child, pos = version_blocks(data, pos)
        children.append(child)
        pos = (pos + 3) & ~3
    return (key, kind, value, children), end


def check_version(exe, data):
    name = os.path.basename(exe)
    (key, _, fixed, children), _ = version_blocks(data)
    w.check(key == "VS_VERSION_INFO", "%s: a version record" % name)
    fields = struct.unpack("<13I", fixed)
    w.check(fields[0] == 0xFEEF04BD, "%s: with its fixed part" % name)
    w.check(fields[2:6] == (0x00010001, 0, 0x00010001, 0), "%s: file and product version 1.1.0.0" % name)
    w.check(fields[7:10] == (0, 0, 0), "%s: no file flags, file OS and type unknown (0)" % name)
    strings = {c[0]: c for c in children}
    tables = strings["StringFileInfo"][3]
    w.check([t[0] for t in tables] == ["000004b0"], "%s: one string table, 000004b0" % name)
    values = {v[0]: v[2].decode("utf-16-le").rstrip("\0") for v in tables[0][3]}
    w.check(values == {"CompanyName": "tolvane GmbH", "ProductName": "quillbox_assistant",
                       "FileDescription": "quillbox_assistant", "InternalName": "quillbox_assistant",
                       "ProductVersion": "1.1.0", "FileVersion": "1.1.0", "OriginalFilename": ""},
            "%s: the string values %s" % (name, values))
    translation = strings["VarFileInfo"][3][0]
    w.check(translation[0] == "Translation" and struct.unpack("<HH", translation[2]) == (0, 0x04B0),
            "%s: translation 0x0000, 0x04B0" % name)


def check_icons(exe):
    name = os.path.basename(exe)
    group = resource(exe, 14, 1)
    reserved, kind, count = struct.unpack_from("<HHH", group)
    w.check(kind == 1 and count == 5, "%s: one icon group of five images" % name)
    entries = [struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i) for i in range(count)]
    w.check([e[7] for e in entries] == [1, 2, 3, 4, 5], "%s: the images are icons 1 to 5" % name)
    sizes = []
    for entry in entries:
        image = resource(exe, 3, entry[7])
        if image.startswith(b"\x89PNG\r\n\x1a\n"):
            width, height = struct.unpack(">II", image[16:24])
            color_type = image[25]
            w.check(color_type == 6, "%s: the %d-pixel PNG has an alpha channel" % (name, width))
            sizes.append((width, height, "png"))
            continue
        header = struct.unpack_from("<IiiHH", image)
        width, height, bits = header[1], header[2] // 2, header[4]
        pixels = image[40:40 + width * height * 4]
        alphas = set(pixels[3::4])
        w.check(bits == 32 and len(alphas) > 2, "%s: the %d-pixel image is 32-bit with real alpha" % (name, width))
        sizes.append((width, height, "bmp"))
    w.check(sizes == [(16, 16, "bmp"), (24, 24, "bmp"), (32, 32, "bmp"), (48, 48, "bmp"), (256, 256, "png")],
            "%s: icon images %s" % (name, sizes))


def check_imports(exe):
    name = os.path.basename(exe)
    objdump = "x86_64-w64-mingw32-objdump" if ARCH == "amd64" else "i686-w64-mingw32-objdump"
    out = subprocess.run([objdump, "-p", exe], capture_output=True, text=True, check=True).stdout
    dlls = {line.split(":", 1)[1].strip().lower() for line in out.splitlines() if "DLL Name:" in line}
    w.check(dlls and dlls <= SYSTEM_DLLS, "%s: imports only system libraries: %s" % (name, sorted(dlls)))
    w.check("(Windows GUI)" in out, "%s: a GUI program" % name)
    w.check(("file format pei-x86-64" if ARCH == "amd64" else "file format pei-i386") in out,
            "%s: built for %s" % (name, ARCH))


def cached(name):
    with open(os.path.join(w.BUILD, "CMakeCache.txt")) as f:
        for line in f:
            if line.startswith(name + ":"):
                return line.split("=", 1)[1].strip()
    return ""


def check_signing(folder):
    keys = os.path.join(folder, "keys")
    os.makedirs(keys)
    root = signing_fixtures.make_root(keys, "root", "/CN=quillbox throwaway root")
    signer = signing_fixtures.make_signer(keys, "signer", "/CN=tolvane GmbH/O=tolvane GmbH/C=DE", root)
    for exe in PROGRAMS:
        name = os.path.basename(exe)
        signed = os.path.join(folder, name)
        signing_fixtures.sign(exe, signed, signer)
        verify = subprocess.run(["osslsigncode", "verify", "-CAfile", root[1], "-in", signed],
                                capture_output=True, text=True)
        w.check(verify.returncode == 0 and "Signature verification: ok" in verify.stdout,
                "%s: signed with a throwaway certificate, the signature verifies" % name)
        w.check(listing(signed) == listing(exe), "%s: signing keeps every resource" % name)
        other = signing_fixtures.make_root(keys, "other-" + name, "/CN=another root")
        verify = subprocess.run(["osslsigncode", "verify", "-CAfile", other[1], "-in", signed],
                                capture_output=True, text=True)
        w.check(verify.returncode != 0, "%s: against another root it does not verify" % name)


folder = w.temp_folder("resources")
try:
    for exe in PROGRAMS:
        expected = {(3, n, 1033) for n in range(1, 6)} | {(14, 1, 1033), (16, 1, 1033), (24, 1, 1033)}
        w.check(listing(exe) == expected, "%s: manifest, version, icon group and five icons, all 1033"
                % os.path.basename(exe))
        check_manifest(exe, resource(exe, 24, 1))
        check_version(exe, resource(exe, 16, 1))
        check_icons(exe)
        check_imports(exe)
    check_signing(folder)
    if ARCH == "amd64":
        configure = subprocess.run(["cmake", "-S", w.SOURCE, "-B", os.path.join(folder, "release"),
                                    "-DCMAKE_TOOLCHAIN_FILE=" + os.path.join(w.SOURCE, "cmake", "mingw-x86_64.cmake"),
                                    "-DQUILLBOX_RELEASE=ON", "-DQUILLBOX_WINDOWS_DEPS=" + cached("QUILLBOX_WINDOWS_DEPS")],
                                   capture_output=True, text=True)
        w.check(configure.returncode != 0 and "QUILLBOX_WEBVIEW_INSTALLER" in configure.stderr,
                "a release build without the vendor's runtime installer is refused")
finally:
    shutil.rmtree(folder, ignore_errors=True)
