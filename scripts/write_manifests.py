#!/usr/bin/env python3
"""Writes the package managers' manifests for a release archive, beside it:

  winget/Morvane.Morvane.yaml                 the version file
  winget/Morvane.Morvane.installer.yaml       the zip, with the program in it as a portable
                                              nested installer
  winget/Morvane.Morvane.locale.en-US.yaml    the default locale
  winget/Morvane.Morvane.locale.zh-CN.yaml    the Chinese locale
  morvane.json                                a Scoop manifest, with checkver and autoupdate

as the Windows Package Manager's multi-file manifest (schema 1.6.0) and Scoop's app manifest
describe them. Each carries the SHA-256 of ARCHIVE as it is now, the version given, and the
archive's address: DOWNLOAD/VERSION/NAME, DOWNLOAD being the project's one download address
(MORVANE_DOWNLOAD_ADDRESS in CMakeLists.txt). The files depend on nothing else (no time, no
path), so the same archive gives the same bytes.

Usage: write_manifests.py ARCHIVE VERSION DOWNLOAD OUTPUT_FOLDER
"""

import hashlib
import json
import os
import re
import sys

PACKAGE_IDENTIFIER = "Morvane.Morvane"
MANIFEST_VERSION = "1.6.0"
PUBLISHER = "Morvane"
PACKAGE_NAME = "Morvane"
PROGRAM = "Morvane.exe"
COMMAND_ALIAS = "morvane"
# What the project publishes its program under; both manifest formats take a free-text licence.
LICENSE = "Freeware"
DESCRIPTIONS = {
    "en-US": "Makes Internet Explorer show the pictures in web pages again, or stop showing "
             "them, for the signed-in user only; no administrator rights needed.",
    # "Switches Internet Explorer's inline images back to shown, or off, for the signed-in user
    # only; no administrator rights needed."
    "zh-CN": "把 Internet Explorer 的内嵌图片改回显示状态，也可以把它关闭。只更改当前登录的用户自己的"
             "设置，不需要管理员权限。",
}
DEFAULT_LOCALE = "en-US"
SCHEMA = "https://aka.ms/winget-manifest.{kind}.{version}.schema.json"
# The archive's name as release.sh writes it; Scoop's checkver finds new versions by it.
ARCHIVE_NAME = re.compile(r"^Morvane-([0-9][0-9A-Za-z.+-]*)-win32\.zip$")


def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 16), b""):
            digest.update(block)
    return digest.hexdigest()


def scalar(value):
    """A YAML scalar: a JSON string is a double-quoted YAML scalar, whatever it holds."""
    return json.dumps(value, ensure_ascii=False)


def yaml_file(kind, fields):
    """A winget manifest file: the schema line its tools read, then one `Key: value` a line; a
    list of mappings is written as YAML's block sequence."""
    lines = [f"# yaml-language-server: $schema={SCHEMA.format(kind=kind, version=MANIFEST_VERSION)}"]
    for key, value in fields:
        if isinstance(value, list):
            lines.append(f"{key}:")
            for item in value:
                prefix = "- "
                for item_key, item_value in item:
                    if isinstance(item_value, list):
                        lines.append(f"  {prefix}{item_key}:")
                        for sub in item_value:
                            sub_prefix = "- "
                            for sub_key, sub_value in sub:
                                lines.append(f"    {sub_prefix}{sub_key}: {scalar(sub_value)}")
                                sub_prefix = "  "
                    else:
                        lines.append(f"  {prefix}{item_key}: {scalar(item_value)}")
                    prefix = "  "
        else:
            lines.append(f"{key}: {scalar(value)}")
    return "\n".join(lines) + "\n"


def winget_files(version, url, digest):
    common = [("PackageIdentifier", PACKAGE_IDENTIFIER), ("PackageVersion", version)]
    files = {
        f"{PACKAGE_IDENTIFIER}.yaml": yaml_file("version", common + [
            ("DefaultLocale", DEFAULT_LOCALE),
            ("ManifestType", "version"),
            ("ManifestVersion", MANIFEST_VERSION),
        ]),
        f"{PACKAGE_IDENTIFIER}.installer.yaml": yaml_file("installer", common + [
            ("InstallerType", "zip"),
            ("NestedInstallerType", "portable"),
            ("NestedInstallerFiles", [[("RelativeFilePath", PROGRAM),
                                       ("PortableCommandAlias", COMMAND_ALIAS)]]),
            ("Installers", [[("Architecture", "x86"),
                             ("InstallerUrl", url),
                             ("InstallerSha256", digest.upper())]]),
            ("ManifestType", "installer"),
            ("ManifestVersion", MANIFEST_VERSION),
        ]),
    }
    for locale, description in DESCRIPTIONS.items():
        kind = "defaultLocale" if locale == DEFAULT_LOCALE else "locale"
        files[f"{PACKAGE_IDENTIFIER}.locale.{locale}.yaml"] = yaml_file(kind, common + [
            ("PackageLocale", locale),
            ("Publisher", PUBLISHER),
            ("PackageName", PACKAGE_NAME),
            ("License", LICENSE),
            ("ShortDescription", description),
            ("ManifestType", kind),
            ("ManifestVersion", MANIFEST_VERSION),
        ])
    return files


def scoop_manifest(version, download, url, digest):
    return {
        "version": version,
        "description": DESCRIPTIONS[DEFAULT_LOCALE],
        "homepage": download,
        "license": LICENSE,
        "url": url,
        "hash": digest,
        "bin": PROGRAM,
        "shortcuts": [[PROGRAM, PACKAGE_NAME]],
        "checkver": {
            "url": download + "/",
            "regex": r"Morvane-([\d.]+)-win32\.zip",
        },
        "autoupdate": {
            "url": f"{download}/$version/Morvane-$version-win32.zip",
            "hash": {"url": "$baseurl/SHA256SUMS"},
        },
    }


def write(path, text):
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__.strip().splitlines()[-1])
    archive, version, download, output = sys.argv[1:5]
    name = os.path.basename(archive)
    match = ARCHIVE_NAME.match(name)
    if not match or match.group(1) != version:
        sys.exit(f"write_manifests: {name} is not the archive of version {version}")
    if not re.match(r"^https?://[^\s\"]+[^/]$", download):
        sys.exit(f"write_manifests: {download!r} is no web address (without a trailing /)")
    digest = sha256(archive)
    url = f"{download}/{version}/{name}"
    winget = os.path.join(output, "winget")
    os.makedirs(winget, exist_ok=True)
    for file_name, text in winget_files(version, url, digest).items():
        write(os.path.join(winget, file_name), text)
    write(os.path.join(output, "morvane.json"),
          json.dumps(scoop_manifest(version, download, url, digest), ensure_ascii=False,
                     indent=4) + "\n")


if __name__ == "__main__":
    main()
