#!/usr/bin/env python3
"""Checks the package managers' manifests that scripts/release.sh wrote into a release folder
(scripts/write_manifests.py): that each winget file parses as YAML and Scoop's as JSON; that each
holds the fields its format marks required (winget's multi-file schema 1.6.0: the version,
installer, defaultLocale and locale files; Scoop's app manifest: version, url, hash, bin, and the
description and license its buckets ask for, with checkver and autoupdate); that every version is
the archive's, every address ends in the archive's name, and every SHA-256 is the archive's own.
Prints one line per fault and exits non-zero when there is any.

Usage: check_manifests.py RELEASE_FOLDER
"""

import glob
import hashlib
import json
import os
import re
import sys

import yaml

IDENTIFIER = "Morvane.Morvane"
# The required fields of each winget file, as the schema's "required" lists name them.
WINGET_REQUIRED = {
    f"{IDENTIFIER}.yaml": ("version", [
        "PackageIdentifier", "PackageVersion", "DefaultLocale", "ManifestType", "ManifestVersion"]),
    f"{IDENTIFIER}.installer.yaml": ("installer", [
        "PackageIdentifier", "PackageVersion", "Installers", "ManifestType", "ManifestVersion"]),
    f"{IDENTIFIER}.locale.en-US.yaml": ("defaultLocale", [
        "PackageIdentifier", "PackageVersion", "PackageLocale", "Publisher", "PackageName",
        "License", "ShortDescription", "ManifestType", "ManifestVersion"]),
    f"{IDENTIFIER}.locale.zh-CN.yaml": ("locale", [
        "PackageIdentifier", "PackageVersion", "PackageLocale", "ManifestType",
        "ManifestVersion"]),
}
INSTALLER_REQUIRED = ["Architecture", "InstallerUrl", "InstallerSha256"]
SCOOP_REQUIRED = ["version", "description", "homepage", "license", "url", "hash", "bin",
                  "checkver", "autoupdate"]

faults = []


def fault(text):
    faults.append(text)
    print(f"FAILED: {text}", file=sys.stderr)


def missing(fields, required, where):
    for key in required:
        if key not in fields or fields[key] in (None, "", []):
            fault(f"{where}: no {key}")


def check_winget(folder, version, name, digest):
    winget = os.path.join(folder, "winget")
    present = sorted(os.path.basename(p) for p in glob.glob(os.path.join(winget, "*")))
    if present != sorted(WINGET_REQUIRED):
        fault(f"winget/ holds {present}, not {sorted(WINGET_REQUIRED)}")
    for file_name, (kind, required) in WINGET_REQUIRED.items():
        path = os.path.join(winget, file_name)
        if not os.path.exists(path):
            continue
        try:
            with open(path, encoding="utf-8") as f:
                fields = yaml.safe_load(f)
        except yaml.YAMLError as error:
            fault(f"{file_name} is not YAML: {error}")
            continue
        if not isinstance(fields, dict):
            fault(f"{file_name} is not a mapping")
            continue
        missing(fields, required, file_name)
        if fields.get("ManifestType") != kind:
            fault(f"{file_name}: ManifestType {fields.get('ManifestType')!r}, not {kind!r}")
        if fields.get("PackageIdentifier") != IDENTIFIER:
            fault(f"{file_name}: PackageIdentifier {fields.get('PackageIdentifier')!r}")
        if str(fields.get("PackageVersion")) != version:
            fault(f"{file_name}: PackageVersion {fields.get('PackageVersion')!r}, not {version}")
        locale = re.search(r"\.locale\.(.+)\.yaml$", file_name)
        if locale and fields.get("PackageLocale") != locale.group(1):
            fault(f"{file_name}: PackageLocale {fields.get('PackageLocale')!r}")
        if kind == "installer":
            check_winget_installer(fields, name, digest)


def check_winget_installer(fields, name, digest):
    where = "the winget installer"
    if fields.get("InstallerType") != "zip" or fields.get("NestedInstallerType") != "portable":
        fault(f"{where}: not a zip with a portable nested installer")
    nested = fields.get("NestedInstallerFiles") or []
    if [n.get("RelativeFilePath") for n in nested] != ["Morvane.exe"]:
        fault(f"{where}: NestedInstallerFiles {nested!r}")
    installers = fields.get("Installers") or []
    if not installers:
        fault(f"{where}: no installer")
    for installer in installers:
        missing(installer, INSTALLER_REQUIRED, where)
        if str(installer.get("InstallerSha256", "")).lower() != digest:
            fault(f"{where}: InstallerSha256 {installer.get('InstallerSha256')} is not the "
                  f"archive's {digest}")
        if not str(installer.get("InstallerUrl", "")).endswith("/" + name):
            fault(f"{where}: InstallerUrl {installer.get('InstallerUrl')} is not {name}'s")


def check_scoop(folder, version, name, digest):
    path = os.path.join(folder, "morvane.json")
    try:
        with open(path, encoding="utf-8") as f:
            fields = json.load(f)
    except (OSError, ValueError) as error:
        fault(f"morvane.json cannot be read as JSON: {error}")
        return
    missing(fields, SCOOP_REQUIRED, "morvane.json")
    if fields.get("version") != version:
        fault(f"morvane.json: version {fields.get('version')!r}, not {version}")
    if str(fields.get("hash", "")).lower() != digest:
        fault(f"morvane.json: hash {fields.get('hash')} is not the archive's {digest}")
    if not str(fields.get("url", "")).endswith("/" + name):
        fault(f"morvane.json: url {fields.get('url')} is not {name}'s")
    checkver = fields.get("checkver") or {}
    if not isinstance(checkver, dict) or not re.search(checkver.get("regex", "^$"), name):
        fault(f"morvane.json: checkver's regex does not find {name}")
    autoupdate = fields.get("autoupdate") or {}
    update_url = str(autoupdate.get("url", ""))
    if update_url.replace("$version", version) != fields.get("url"):
        fault(f"morvane.json: autoupdate's url {update_url} is not the url's pattern")
    if not (autoupdate.get("hash") or {}).get("url"):
        fault("morvane.json: autoupdate gives no address for the hash")


def main():
    folder = sys.argv[1]
    archives = glob.glob(os.path.join(folder, "Morvane-*-win32.zip"))
    if len(archives) != 1:
        sys.exit(f"check_manifests: {folder} holds {len(archives)} archives, not one")
    name = os.path.basename(archives[0])
    version = re.match(r"^Morvane-(.+)-win32\.zip$", name).group(1)
    with open(archives[0], "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()
    check_winget(folder, version, name, digest)
    check_scoop(folder, version, name, digest)
    if faults:
        sys.exit(f"manifests: {len(faults)} faults")
    print(f"manifests: winget and Scoop parse, hold their required fields and the SHA-256 of {name}")


if __name__ == "__main__":
    main()
