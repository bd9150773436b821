#!/usr/bin/env python3
"""Generates pdf/PdfFontWidths.cpp, the width tables of the twelve standard fonts.

A development tool: the generated file is committed, so the build never runs this script.

Source of the metrics: the AFM files of the URW base-35 fonts (Debian package
fonts-urw-base35), which are metric-compatible with the Adobe standard fonts:

    Courier family    NimbusMonoPS-{Regular,Bold,Italic,BoldItalic}.afm
    Helvetica family  NimbusSans-{Regular,Bold,Italic,BoldItalic}.afm
    Times family      NimbusRoman-{Regular,Bold,Italic,BoldItalic}.afm

Each code of WinAnsiEncoding (PDF Reference, appendix D) is mapped to its glyph name and takes
that glyph's advance width (WX) from the AFM. The rules of the report fonts are applied on top:

  * codes 0 to 31 and 255 are 0;
  * Helvetica and Times: codes 127, 129, 141, 143, 144, 157, 160 and 173 are 0;
  * Courier: every code from 32 to 254 is 600.

A few well-known widths are checked before anything is written; a missing glyph or a
failed check stops the script without touching the output.

Usage: gen_font_widths.py [--afm-dir DIR] [--output FILE]
"""

import argparse
import os
import sys

# WinAnsiEncoding, codes 32 to 255 (None: no character at that code).
WIN_ANSI = {
    32: "space", 33: "exclam", 34: "quotedbl", 35: "numbersign", 36: "dollar",
    37: "percent", 38: "ampersand", 39: "quotesingle", 40: "parenleft", 41: "parenright",
    42: "asterisk", 43: "plus", 44: "comma", 45: "hyphen", 46: "period", 47: "slash",
    48: "zero", 49: "one", 50: "two", 51: "three", 52: "four", 53: "five", 54: "six",
    55: "seven", 56: "eight", 57: "nine", 58: "colon", 59: "semicolon", 60: "less",
    61: "equal", 62: "greater", 63: "question", 64: "at",
    **{65 + i: chr(65 + i) for i in range(26)},
    91: "bracketleft", 92: "backslash", 93: "bracketright", 94: "asciicircum",
    95: "underscore", 96: "grave",
    **{97 + i: chr(97 + i) for i in range(26)},
    123: "braceleft", 124: "bar", 125: "braceright", 126: "asciitilde", 127: None,
    128: "Euro", 129: None, 130: "quotesinglbase", 131: "florin", 132: "quotedblbase",
    133: "ellipsis", 134: "dagger", 135: "daggerdbl", 136: "circumflex", 137: "perthousand",
    138: "Scaron", 139: "guilsinglleft", 140: "OE", 141: None, 142: "Zcaron", 143: None,
    144: None, 145: "quoteleft", 146: "quoteright", 147: "quotedblleft",
    148: "quotedblright", 149: "bullet", 150: "endash", 151: "emdash", 152: "tilde",
    153: "trademark", 154: "scaron", 155: "guilsinglright", 156: "oe", 157: None,
    158: "zcaron", 159: "Ydieresis", 160: "space", 161: "exclamdown", 162: "cent",
    163: "sterling", 164: "currency", 165: "yen", 166: "brokenbar", 167: "section",
    168: "dieresis", 169: "copyright", 170: "ordfeminine", 171: "guillemotleft",
    172: "logicalnot", 173: "hyphen", 174: "registered", 175: "macron", 176: "degree",
    177: "plusminus", 178: "twosuperior", 179: "threesuperior", 180: "acute", 181: "mu",
    182: "paragraph", 183: "periodcentered", 184: "cedilla", 185: "onesuperior",
    186: "ordmasculine", 187: "guillemotright", 188: "onequarter", 189: "onehalf",
    190: "threequarters", 191: "questiondown", 192: "Agrave", 193: "Aacute",
    194: "Acircumflex", 195: "Atilde", 196: "Adieresis", 197: "Aring", 198: "AE",
    199: "Ccedilla", 200: "Egrave", 201: "Eacute", 202: "Ecircumflex", 203: "Edieresis",
    204: "Igrave", 205: "Iacute", 206: "Icircumflex", 207: "Idieresis", 208: "Eth",
    209: "Ntilde", 210: "Ograve", 211: "Oacute", 212: "Ocircumflex", 213: "Otilde",
    214: "Odieresis", 215: "multiply", 216: "Oslash", 217: "Ugrave", 218: "Uacute",
    219: "Ucircumflex", 220: "Udieresis", 221: "Yacute", 222: "Thorn", 223: "germandbls",
    224: "agrave", 225: "aacute", 226: "acircumflex", 227: "atilde", 228: "adieresis",
    229: "aring", 230: "ae", 231: "ccedilla", 232: "egrave", 233: "eacute",
    234: "ecircumflex", 235: "edieresis", 236: "igrave", 237: "iacute", 238: "icircumflex",
    239: "idieresis", 240: "eth", 241: "ntilde", 242: "ograve", 243: "oacute",
    244: "ocircumflex", 245: "otilde", 246: "odieresis", 247: "divide", 248: "oslash",
    249: "ugrave", 250: "uacute", 251: "ucircumflex", 252: "udieresis", 253: "yacute",
    254: "thorn", 255: "ydieresis",
}

# Glyph names that some AFM files spell differently.
ALIASES = {"mu": ["uni00B5"], "periodcentered": ["uni00B7"]}

# Codes that are 0 in the Helvetica and Times families (no character, or a character the
# reports must not advance over: no-break space and soft hyphen).
PROPORTIONAL_ZERO = {127, 129, 141, 143, 144, 157, 160, 173}

# (C++ table name, base font, AFM file, family)
FONTS = [
    ("kCourierWidths", "Courier", "NimbusMonoPS-Regular.afm", "courier"),
    ("kCourierBoldWidths", "Courier-Bold", "NimbusMonoPS-Bold.afm", "courier"),
    ("kCourierObliqueWidths", "Courier-Oblique", "NimbusMonoPS-Italic.afm", "courier"),
    ("kCourierBoldObliqueWidths", "Courier-BoldOblique", "NimbusMonoPS-BoldItalic.afm",
     "courier"),
    ("kHelveticaWidths", "Helvetica", "NimbusSans-Regular.afm", "helvetica"),
    ("kHelveticaBoldWidths", "Helvetica-Bold", "NimbusSans-Bold.afm", "helvetica"),
    ("kHelveticaObliqueWidths", "Helvetica-Oblique", "NimbusSans-Italic.afm", "helvetica"),
    ("kHelveticaBoldObliqueWidths", "Helvetica-BoldOblique", "NimbusSans-BoldItalic.afm",
     "helvetica"),
    ("kTimesRomanWidths", "Times-Roman", "NimbusRoman-Regular.afm", "times"),
    ("kTimesBoldWidths", "Times-Bold", "NimbusRoman-Bold.afm", "times"),
    ("kTimesItalicWidths", "Times-Italic", "NimbusRoman-Italic.afm", "times"),
    ("kTimesBoldItalicWidths", "Times-BoldItalic", "NimbusRoman-BoldItalic.afm", "times"),
]

# Well-known widths that every correct table holds: (base font, code, width).
TELLING = (
    [("Helvetica", 32, 278), ("Times-Roman", 32, 250), ("Helvetica", 64, 1015),
     ("Times-Roman", 64, 921), ("Helvetica", 58, 278), ("Times-Roman", 58, 278)]
    + [("Helvetica", c, 556) for c in range(48, 58)]
    + [("Times-Roman", c, 500) for c in range(48, 58)]
)


def read_afm_widths(path):
    """Glyph name -> advance width, from the CharMetrics section of an AFM file."""
    widths = {}
    in_metrics = False
    with open(path, encoding="latin-1") as afm:
        for line in afm:
            line = line.strip()
            if line.startswith("StartCharMetrics"):
                in_metrics = True
                continue
            if line.startswith("EndCharMetrics"):
                break
            if not in_metrics or not line:
                continue
            name = None
            width = None
            for field in line.split(";"):
                parts = field.split()
                if len(parts) >= 2 and parts[0] in ("WX", "W0X"):
                    width = int(round(float(parts[1])))
                elif len(parts) >= 2 and parts[0] == "N":
                    name = parts[1]
            if name is not None and width is not None:
                widths.setdefault(name, width)
    return widths


def build_table(afm_widths, family, afm_name):
    table = [0] * 256
    for code in range(32, 255):
        if family == "courier":
            table[code] = 600
            continue
        if code in PROPORTIONAL_ZERO:
            continue
        glyph = WIN_ANSI[code]
        candidates = [glyph] + ALIASES.get(glyph, [])
        found = [afm_widths[n] for n in candidates if n in afm_widths]
        if not found:
            raise SystemExit(f"{afm_name}: no glyph {glyph} for code {code}")
        table[code] = found[0]
    return table


def check_courier_source(afm_widths, afm_name):
    """The Courier rule must agree with the metrics: every glyph of the encoding is 600."""
    for code in range(32, 255):
        glyph = WIN_ANSI[code]
        if glyph is not None and afm_widths.get(glyph, 600) != 600:
            raise SystemExit(f"{afm_name}: {glyph} is {afm_widths[glyph]}, not 600")


def render(tables):
    out = []
    out.append("// Generated by pdf/tools/gen_font_widths.py from the AFM metrics of the URW base-35")
    out.append("// fonts (metric-compatible with the Adobe standard fonts). Do not edit by hand:")
    out.append("// change the generator and run it again.")
    out.append("//")
    out.append("// Advance widths in thousandths of the font size for the 256 codes of")
    out.append("// WinAnsiEncoding; codes without a character of their own are 0.")
    out.append("")
    out.append('#include "pdf/PdfFontWidths.h"')
    out.append("")
    out.append("namespace kestrova::pdf {")
    out.append("")
    out.append("// clang-format off")
    out.append("")
    for name, base, table in tables:
        out.append(f"// {base}")
        out.append(f"const TPdfWidthTable {name} = {{")
        for row in range(0, 256, 16):
            cells = "".join(f"{w:4d}," for w in table[row:row + 16])
            out.append(f"   {cells} // {row:3d}")
        out.append("};")
        out.append("")
    out.append("// clang-format on")
    out.append("")
    out.append("} // namespace kestrova::pdf")
    return "\n".join(out) + "\n"


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--afm-dir", default="/usr/share/fonts/type1/urw-base35")
    parser.add_argument("--output", default=os.path.join(here, "..", "PdfFontWidths.cpp"))
    args = parser.parse_args()

    tables = []
    by_base = {}
    for name, base, afm_name, family in FONTS:
        path = os.path.join(args.afm_dir, afm_name)
        if not os.path.exists(path):
            raise SystemExit(f"missing {path}: install the Debian package fonts-urw-base35")
        afm_widths = read_afm_widths(path)
        if family == "courier":
            check_courier_source(afm_widths, afm_name)
        table = build_table(afm_widths, family, afm_name)
        tables.append((name, base, table))
        by_base[base] = table

    for base, code, width in TELLING:
        if by_base[base][code] != width:
            raise SystemExit(f"{base} code {code}: {by_base[base][code]}, expected {width}")

    text = render(tables)
    with open(args.output, "w", encoding="ascii", newline="\n") as out:
        out.write(text)
    print(f"wrote {os.path.normpath(args.output)}", file=sys.stderr)


if __name__ == "__main__":
    main()
