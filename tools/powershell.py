#!/usr/bin/env python3
"""A stand-in for powershell.exe on Linux that answers exactly one command:

    Get-AuthenticodeSignature -LiteralPath '<path>' | Format-List -property Status, SignerCertificate

with a report of the shape Windows PowerShell prints. The signature is
checked for real with osslsigncode against the trust file named by
AUTHENTICODE_TRUST_FILE, or the system trust store; no revocation list is
fetched. Any other command is a parse error on standard error and no status.
"""
import os
import re
import subprocess
import sys
import tempfile

QUOTES = "'\u2018\u2019\u201a\u201b"  # PowerShell's single quotes
SYSTEM_TRUST = "/etc/ssl/certs/ca-certificates.crt"
INDENT = " " * 20


def parse_error(message):
    sys.stderr.write("At line:1 char:1\n+ %s\nParserError: %s\n" % (" ".join(sys.argv[1:]), message))
    sys.exit(1)


def parse_command(command):
    """The path of the one pipeline we answer, or a parse error."""
    head = re.match(r"\s*Get-AuthenticodeSignature\s+-LiteralPath\s+", command, re.IGNORECASE)
    if not head:
        parse_error("The command is not supported here.")
    i = head.end()
    if i >= len(command) or command[i] not in QUOTES:
        parse_error("Missing an argument for parameter 'LiteralPath'.")
    i += 1
    path = []
    while True:
        if i >= len(command):
            parse_error("The string is missing the terminator: '.")
        c = command[i]
        if c in QUOTES:
            if i + 1 < len(command) and command[i + 1] in QUOTES:
                path.append(command[i + 1])  # a doubled quote stands for the second one
                i += 2
                continue
            i += 1
            break
        path.append(c)
        i += 1
    tail = command[i:]
    if not re.fullmatch(r"\s*\|\s*Format-List\s+-property\s+Status\s*,\s*SignerCertificate\s*", tail,
                        re.IGNORECASE):
        parse_error("Unexpected token '%s' in expression or statement." % tail.strip()[:40])
    return "".join(path)


def run(*args):
    return subprocess.run(args, capture_output=True, text=True, errors="replace")


def status_of(path, trust):
    result = run("osslsigncode", "verify", "-CAfile", trust, "-ignore-cdp", "-in", path)
    out = result.stdout + result.stderr
    if "No signature found" in out:
        return "NotSigned", out
    if "unsupported input file type" in out or "Initialization error" in out:
        return "NotSupportedFileFormat", out
    if "MISMATCH" in out:
        return "HashMismatch", out
    if result.returncode == 0 and "Signature verification: ok" in out and "Succeeded" in out:
        return "Valid", out
    if "PKCS7_verify error" in out or "certificate" in out.lower():
        return "NotTrusted", out
    return "UnknownError", out


def signer_certificate(path, verify_output):
    """The signer's certificate as PEM, chosen by the serial osslsigncode names
    for signer #0, or None when the file carries no certificates."""
    with tempfile.TemporaryDirectory() as folder:
        signature = os.path.join(folder, "signature.pem")
        if run("osslsigncode", "extract-signature", "-pem", "-in", path, "-out", signature).returncode != 0:
            return None
        listing = run("openssl", "pkcs7", "-print_certs", "-in", signature).stdout
    certs = re.findall(r"-----BEGIN CERTIFICATE-----.*?-----END CERTIFICATE-----", listing, re.DOTALL)
    wanted = re.search(r"Signer #0:\s*\n\s*Subject:.*\n\s*Issuer :.*\n\s*Serial : ([0-9A-Fa-f]+)", verify_output)
    for cert in certs:
        serial = run_input(["openssl", "x509", "-noout", "-serial"], cert).strip().split("=")[-1]
        if wanted is None or serial.upper() == wanted.group(1).upper():
            return cert
    return certs[0] if certs else None


def run_input(args, text):
    return subprocess.run(args, input=text, capture_output=True, text=True, errors="replace").stdout


def windows_date(openssl_date):
    import datetime
    moment = datetime.datetime.strptime(openssl_date.replace("  ", " ").strip(), "%b %d %H:%M:%S %Y %Z")
    hour = moment.hour % 12 or 12
    return "%d/%d/%d %d:%02d:%02d %s" % (moment.month, moment.day, moment.year, hour, moment.minute,
                                         moment.second, "AM" if moment.hour < 12 else "PM")


def certificate_lines(cert):
    # Windows order (CN first), one line per name, control characters escaped.
    names = "utf8,sep_comma_plus_space,dn_rev,esc_2253,esc_ctrl,space_eq"
    info = run_input(["openssl", "x509", "-noout", "-nameopt", names.replace(",space_eq", ""),
                      "-subject", "-issuer", "-serial", "-startdate", "-enddate", "-fingerprint", "-sha1"], cert)
    fields = {}
    for line in info.splitlines():
        key, _, value = line.partition("=")
        fields[key.strip().lower()] = value.strip()
    sections = [
        ("Subject", fields.get("subject", "")),
        ("Issuer", fields.get("issuer", "")),
        ("Serial Number", fields.get("serial", "")),
        ("Not Before", windows_date(fields.get("notbefore", "Jan 1 00:00:00 1970 GMT"))),
        ("Not After", windows_date(fields.get("notafter", "Jan 1 00:00:00 1970 GMT"))),
        ("Thumbprint", fields.get("sha1 fingerprint", "").replace(":", "")),
    ]
    lines = []
    for index, (title, value) in enumerate(sections):
        prefix = "SignerCertificate : " if index == 0 else INDENT
        lines += [prefix + "[" + title + "]", INDENT + "  " + value, ""]
    return lines


def main():
    path = parse_command(" ".join(sys.argv[1:]))
    trust = os.environ.get("AUTHENTICODE_TRUST_FILE") or SYSTEM_TRUST
    if not os.path.isfile(path):
        sys.stderr.write("Get-AuthenticodeSignature : Cannot find path '%s' because it does not exist.\n" % path)
        return 1
    status, verify_output = status_of(path, trust)
    lines = ["", "Status            : " + status]
    cert = signer_certificate(path, verify_output) if status != "NotSigned" else None
    if cert:
        lines += certificate_lines(cert)
    else:
        lines += ["SignerCertificate : ", ""]
    sys.stdout.write("\r\n".join(lines + ["", ""]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
