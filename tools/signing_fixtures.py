#!/usr/bin/env python3
"""Makes signed test setups: throwaway code-signing certificates (openssl)
and small PE files signed with osslsigncode.

  signing_fixtures.py OUTPUT_FOLDER

writes into OUTPUT_FOLDER:
  trust.pem               the roots a check should trust (AUTHENTICODE_TRUST_FILE)
  maker-signed.exe        signed by "CN=tolvane GmbH, O=tolvane GmbH, C=DE"
  maker-suffix.exe        signed by "CN=tolvane GmbH Software Division, O=tolvane GmbH"
  other-signed.exe        signed by another maker
  issuer-named.exe        another maker, certified by a root named "CN=tolvane Root CA"
  untrusted-lookalike.exe self-signed, untrusted, subject holds "Status: Valid" and "CN=tolvane"
  unsigned.exe            a PE file without a signature
  tampered.exe            maker-signed, then one byte of its code changed
  small-signed.exe        maker-signed, smaller than 5120 bytes
  not-a-pe.exe            plain text
"""
import os
import struct
import subprocess
import sys


def run(*args):
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def make_pe(path, size, marker=b"quillbox test setup"):
    """A minimal 32-bit PE image: headers, one code section, padded to size."""
    file_align = 0x200
    code = (b"\xC3" + marker).ljust(max(size - 0x400, file_align), b"\x90")
    code = code.ljust((len(code) + file_align - 1) // file_align * file_align, b"\x90")
    dos = bytearray(0x80)
    dos[0:2] = b"MZ"
    struct.pack_into("<I", dos, 0x3C, 0x80)
    coff = struct.pack("<HHIIIHH", 0x14C, 1, 0, 0, 0, 0xE0, 0x0102)
    optional = bytearray(0xE0)
    struct.pack_into("<HBBIIIIIIIIIHHHHHHIIIIHHIIIIII", optional, 0,
                     0x10B, 14, 0, len(code), 0, 0, 0x1000, 0x1000, 0x2000, 0x400000, 0x1000, file_align,
                     6, 0, 0, 0, 6, 0, 0, 0x1000 + (len(code) + 0xFFF) // 0x1000 * 0x1000, 0x400, 0, 2, 0x8140,
                     0x100000, 0x1000, 0x100000, 0x1000, 0, 16)
    section = struct.pack("<8sIIIIIIHHI", b".text", len(code), 0x1000, len(code), 0x400, 0, 0, 0, 0, 0x60000020)
    header = bytes(dos) + b"PE\0\0" + coff + bytes(optional) + section
    header = header.ljust(0x400, b"\0")
    with open(path, "wb") as f:
        f.write(header + code)


def make_root(folder, name, subject):
    key, cert = os.path.join(folder, name + ".key"), os.path.join(folder, name + ".pem")
    run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
        "-days", "3650", "-subj", subject, "-addext", "basicConstraints=critical,CA:TRUE",
        "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    return key, cert


def make_signer(folder, name, subject, ca):
    key, csr, cert = (os.path.join(folder, name + ext) for ext in (".key", ".csr", ".pem"))
    ext = os.path.join(folder, name + ".ext")
    with open(ext, "w") as f:
        f.write("basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n")
    run("openssl", "req", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", csr, "-subj", subject)
    run("openssl", "x509", "-req", "-in", csr, "-CA", ca[1], "-CAkey", ca[0], "-CAcreateserial",
        "-out", cert, "-days", "1825", "-extfile", ext)
    return key, cert


def sign(source, target, signer):
    if os.path.exists(target):
        os.remove(target)
    run("osslsigncode", "sign", "-certs", signer[1], "-key", signer[0], "-h", "sha256",
        "-n", "quillbox setup", "-in", source, "-out", target)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    keys = os.path.join(out, "keys")
    os.makedirs(keys, exist_ok=True)
    root = make_root(keys, "root", "/O=quillbox tests/CN=quillbox Test Root")
    named_root = make_root(keys, "named-root", "/O=Lookalike Trust/CN=tolvane Root CA")
    maker = make_signer(keys, "maker", "/C=DE/O=tolvane GmbH/CN=tolvane GmbH", root)
    suffix = make_signer(keys, "suffix", "/C=DE/O=tolvane GmbH/CN=tolvane GmbH Software Division", root)
    other = make_signer(keys, "other", "/C=GB/O=Other Vendor Ltd/CN=Other Vendor Ltd", root)
    issued = make_signer(keys, "issued", "/C=GB/O=Reseller Ltd/CN=Reseller Ltd", named_root)
    lookalike = make_root(keys, "lookalike", "/O=Status : Valid/CN=tolvane GmbH Status: Valid")
    with open(os.path.join(out, "trust.pem"), "w") as f:
        f.write(open(root[1]).read() + open(named_root[1]).read())

    plain = os.path.join(keys, "plain.exe")
    make_pe(plain, 8192)
    make_pe(os.path.join(out, "unsigned.exe"), 8192)
    sign(plain, os.path.join(out, "maker-signed.exe"), maker)
    sign(plain, os.path.join(out, "maker-suffix.exe"), suffix)
    sign(plain, os.path.join(out, "other-signed.exe"), other)
    sign(plain, os.path.join(out, "issuer-named.exe"), issued)
    sign(plain, os.path.join(out, "untrusted-lookalike.exe"), lookalike)
    small = os.path.join(keys, "small.exe")
    make_pe(small, 1024)
    sign(small, os.path.join(out, "small-signed.exe"), maker)
    with open(os.path.join(out, "maker-signed.exe"), "rb") as f:
        data = bytearray(f.read())
    data[0x410] ^= 0xFF  # inside the code section, covered by the signature
    with open(os.path.join(out, "tampered.exe"), "wb") as f:
        f.write(data)
    with open(os.path.join(out, "not-a-pe.exe"), "w") as f:
        f.write("this is not a program\n" * 400)


if __name__ == "__main__":
    main()
