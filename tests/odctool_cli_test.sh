#!/bin/sh
# Black-box tests of odctool: runs the real binary on files written here.
# Usage: odctool_cli_test.sh PATH/TO/odctool [DEMO_MACHINE.dat]
# ODCTOOL_RUNNER, when set, runs the binary (wine64 for odctool.exe): the
# Windows build must answer byte for byte as the native one.
# Prints one line per failed check and a final "N passed, M failed".
ODCTOOL=${1:?usage: odctool_cli_test.sh PATH/TO/odctool}
case $ODCTOOL in /*) ;; *) ODCTOOL=$(pwd)/$ODCTOOL ;; esac
DEMO_MACHINE=${2:-}
case $DEMO_MACHINE in /* | "") ;; *) DEMO_MACHINE=$(pwd)/$DEMO_MACHINE ;; esac
WORK=$(mktemp -d "${TMPDIR:-/tmp}/odctool_cli.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || exit 1
unset ODC_SIMULATED_MACHINE ODC_SIMULATED_MACHINE_STATUS

PASSED=0
FAILED=0
pass() { PASSED=$((PASSED + 1)); }
fail() { FAILED=$((FAILED + 1)); echo "FAIL: $*"; }
check() {  # check DESCRIPTION COMMAND...: passes when COMMAND succeeds
  what=$1
  shift
  if "$@"; then pass; else fail "$what"; fi
}
FORMAT_ERROR="File format is error! Please select valid format!"

run_odctool() { $ODCTOOL_RUNNER "$ODCTOOL" "$@"; }

# expect_exit CODE DESCRIPTION ARGS...: runs odctool, keeps out.txt/err.txt
expect_exit() {
  want=$1 what=$2
  shift 2
  run_odctool "$@" >out.txt 2>err.txt
  got=$?
  if [ "$got" -eq "$want" ]; then
    pass
  else
    fail "$what: exit $got, expected $want"
    # What odctool said, so that a failure in a log can be understood.
    sed 's/^/    stderr: /' err.txt | head -n 5
  fi
}

# ---- Fixtures, written byte by byte ------------------------------------
cat >fixtures.py <<'PY'
import struct, sys

SIGNATURE = b"CMDCODE002|ODC|BRAMWYN|ALL"
ALPHABET = "0123456789*#P +-"

def packed(digits, size):
    out = bytearray(size)
    for i, c in enumerate(digits):
        v = ALPHABET.index(c)
        out[i // 2] |= v if i % 2 == 0 else v << 4
    return bytes(out)

def date(y, m, d):
    return ((y - 2000) << 9) | (m << 5) | d

def item(item_id, data):
    return struct.pack("<II", item_id, len(data)) + data

def data_file(items):
    body = b"".join(items)
    return SIGNATURE.ljust(64, b"\0") + struct.pack("<II", 258, len(body)) + body

def default_file():
    ids = [0x12000 + k for k in range(32)] + [0x12050 + s for s in range(240)]
    return data_file([item(i, b"") for i in ids])

def one_touch_fax(key, flags, digits, name, sub="", sid="", batch=None, speed=2):
    e = bytearray(152)
    struct.pack_into("<H", e, 0, key + 1)
    e[2] = flags | (0x10 if batch else 0)
    e[3] = len(digits)
    e[5] = len(name)
    e[6:6 + len(name)] = name
    struct.pack_into("<H", e, 26, date(2024, 3, 7))
    if batch:
        struct.pack_into("<H", e, 28, (batch[1] + batch[0] * 64) * 32)
    e[30] = speed + 2
    e[31], e[32] = len(sub), len(sid)
    e[33:48] = packed(digits, 15)
    e[58:68] = packed(sub, 10)
    e[68:78] = packed(sid, 10)
    return bytes(e)

def one_touch_email(key, address, name, options):
    e = bytearray(152)
    struct.pack_into("<H", e, 0, key + 1)
    e[2] = 0x09
    e[3] = len(address)
    e[5] = len(name)
    e[6:6 + len(name)] = name
    e[30:34] = bytes(options)
    e[34:34 + len(address)] = address
    return bytes(e)

def group(key, name, members):
    e = bytearray(152)
    struct.pack_into("<H", e, 0, key + 1)
    e[2] = 0x80
    e[3] = len(members)
    e[5] = len(name)
    e[6:6 + len(name)] = name
    for j, (kind, number) in enumerate(members):
        e[30 + 2 * j], e[31 + 2 * j] = kind, number
    return bytes(e)

def speed_dial_fax(index, digits, name):
    e = bytearray(118)
    struct.pack_into("<H", e, 0, (index + 1) | 0x8000)
    e[2] = 0x06
    e[3] = len(digits)
    e[4] = len(name)
    e[5:5 + len(name)] = name
    e[28] = 2 + 2
    e[31:46] = packed(digits, 15)
    return bytes(e)

def speed_dial_email(index, address, name):
    e = bytearray(118)
    struct.pack_into("<H", e, 0, (index + 1) | 0x8000)
    e[2] = 0x05
    e[3] = len(address)
    e[4] = len(name)
    e[5:5 + len(name)] = name
    e[28:32] = bytes([0, 2, 1, 0])
    e[32:32 + len(address)] = address
    return bytes(e)

def text(value, width):
    return value.ljust(width, b"\0")

def full_file(name=b"Sales, \"North\"", pop3=b"hunter2", remote=4711):
    one_touch = {
        1: one_touch_email(1, b"office@example.com", b"Office", [1, 9, 2, 2]),
        2: one_touch_fax(2, 0x2A, "9+", b""),
        4: one_touch_fax(4, 0x0A, "0123456789", name, "12", "34", (14, 5), 1),
        7: group(7, b"Team", [(8, 5), (4, 200)]),
        29: one_touch_fax(29, 0x4A, "0312345678", b"Night"),
    }
    speed_dial = {0: speed_dial_email(0, b"help@example.com", b"Help"),
                  199: speed_dial_fax(199, "555", b"Branch")}
    items = [item(0x12000 + k, one_touch.get(k, b"")) for k in range(32)]
    items += [item(0x12050 + s, speed_dial.get(s, b"")) for s in range(240)]
    # Every full file carries the access numbers, account counters and forward
    # location: the program's packing always gives them their lengths.
    items += [item(0x20000, b"\0"),
              item(0x10302, bytes(100)),
              item(0x10303, bytes(150)),
              item(0x10906, bytes(72)),
              item(0x10405, text(b"smtp.example.com", 66)),
              item(0x10418, text(pop3, 34)),
              item(0x10305, struct.pack("<I", remote)),
              item(0x1051E, text(b"Front Desk", 36)),
              item(0x20001, b"\0"),
              item(0x20600, struct.pack("<I", 654321)),
              item(0x21002, bytes([1, 0, 2, 2, 0, 0, 1, 1, 0, 128, 0]) + b"V1.00".ljust(69, b"\0"))]
    return data_file(items)

def cmc_type1():
    f = bytearray(22345)
    f[0:3] = b"CMC"
    r = 89  # One Touch record 0: a fax
    f[r], f[r + 1], f[r + 3] = 0x0A, 4, 6
    f[r + 4:r + 10] = b"Legacy"
    f[r + 28] = 4
    f[r + 31:r + 46] = packed("7777", 15)
    s = 3545  # Speed Dial record 0: an e-mail
    addr = b"old@example.com"
    f[s], f[s + 1], f[s + 2] = 0x05, len(addr), 3
    f[s + 3:s + 6] = b"Old"
    f[s + 26], f[s + 27] = 1, 9
    f[s + 30:s + 30 + len(addr)] = addr
    return bytes(f)

def cmc_type2():
    f = bytearray(13141)
    f[0:3] = b"CMC"
    r = 91  # One Touch record 0: a fax
    f[r], f[r + 1] = 3, 0x42
    f[r + 26] = 5
    f[r + 27:r + 32] = b"Typ2A"
    f[r + 47] = 3
    f[r + 50:r + 65] = packed("123", 15)
    s = 4141  # Speed Dial record 0: a fax
    f[s], f[s + 1] = 2, 0x22
    f[s + 24] = 5
    f[s + 25:s + 30] = b"Typ2S"
    f[s + 45] = 4
    f[s + 48:s + 63] = packed("45", 15)
    return bytes(f)

# Every secret the settings hold, each with a value easy to spot: the
# administrator number, access numbers, remote, POP3, LDAP and Memory RX
# passwords.
def secrets_file(admin, access, remote, pop3, ldap, memory_rx):
    numbers = bytearray(100)
    for user, number in access.items():
        struct.pack_into("<H", numbers, 2 * (user - 1), number)
    window = bytearray(12)
    window[4:8] = memory_rx
    items = [item(0x12000 + k, b"") for k in range(32)]
    items += [item(0x12050 + s, b"") for s in range(240)]
    items += [item(0x20000, b"\0"), item(0x10302, bytes(numbers)), item(0x10303, bytes(150)),
              item(0x10305, struct.pack("<I", remote)), item(0x10418, text(pop3, 34)),
              item(0x10505, text(ldap, 34)), item(0x10901, bytes(window)),
              item(0x10906, bytes(72)), item(0x20001, b"\0"),
              item(0x20600, struct.pack("<I", admin)), item(0x21002, bytes(80))]
    return data_file(items)

what, path = sys.argv[1], sys.argv[2]
data = {"default": default_file, "full": full_file, "type1": cmc_type1, "type2": cmc_type2,
        "changed": lambda: full_file(name=b"Sales Dept", pop3=b"swordfish", remote=9999),
        "secrets_a": lambda: secrets_file(271828, {1: 314, 50: 159}, 2653, b"popKEYone",
                                          b"ldapKEYone", b"5897"),
        "secrets_b": lambda: secrets_file(602214, {1: 141, 50: 421}, 3562, b"popKEYtwo",
                                          b"ldapKEYtwo", b"7985")}[what]()
open(path, "wb").write(data)
PY
for f in default full type1 type2 changed secrets_a secrets_b; do python3 fixtures.py $f $f.bin || exit 1; done
cp full.bin full.DAT
cp changed.bin changed.DAT

# ---- new ------------------------------------------------------------------
expect_exit 0 "new" new new.DAT
check "new writes the default data set byte for byte" cmp -s new.DAT default.bin

# ---- show --json ----------------------------------------------------------
expect_exit 0 "show --json" show full.DAT --json
cat >check_json.py <<'PY'
import json, sys
d = json.load(open(sys.argv[1]))
assert d["kind"] == "full", d["kind"]
assert d["machine_name"] == "Front Desk"
assert [e["number"] for e in d["one_touch"]] == [2, 3, 5, 30], d["one_touch"]
mail, comb, fax, prog = d["one_touch"]
assert (mail["type"], mail["address"], mail["email_mode"], mail["max_tx_size_code"],
        mail["max_quality"], mail["coding"]) == ("email", "office@example.com", "Advanced", 9, "S/F", "MMR"), mail
assert comb["combination"] is True and comb["address"] == "9+" and comb["name"] == "", comb
assert (fax["type"], fax["name"], fax["address"], fax["sub"], fax["sid"], fax["batch_time"],
        fax["speed"], fax["registered"]) == ("fax", 'Sales, "North"', "0123456789", "12", "34",
                                             "14:05", "14.4K", "2024-03-07"), fax
assert fax["max_tx_size_code"] is None and fax["combination"] is False
assert prog["type"] == "program" and prog["name"] == "PROGRAM DIAL", prog
assert [(e["number"], e["type"]) for e in d["speed_dial"]] == [(1, "email"), (200, "fax")]
assert d["speed_dial"][1]["speed"] == "33.6K" and d["speed_dial"][1]["name"] == "Branch"
assert d["groups"] == [{"number": 8, "name": "Team", "name2": "",
                        "members": [{"kind": "one-touch", "number": 5},
                                    {"kind": "speed-dial", "number": 200}]}], d["groups"]
for e in d["one_touch"] + d["speed_dial"]:
    assert set(e) == {"number", "type", "name", "name2", "address", "sub", "sid", "batch_time",
                      "speed", "combination", "email_mode", "max_tx_size_code", "max_quality",
                      "coding", "registered"}, sorted(e)
PY
check "show --json holds every kind of entry" python3 check_json.py out.txt
check "show --json prints no secret" sh -c '! grep -q -e hunter2 -e 4711 -e 654321 out.txt'
expect_exit 0 "show --json --language JAPANESE" show full.DAT --json --language JAPANESE
check "JAPANESE output is JSON" python3 -m json.tool out.txt /dev/null
expect_exit 0 "show (table)" show full.DAT
check "table shows the fax row" grep -q '^05  *Sales, "North"  *0123456789  *12  *34  *14:05  *14.4K' out.txt
check "table shows the group" grep -q '^08  *Team  *OT 05, SD 200' out.txt

# ---- import -----------------------------------------------------------------
expect_exit 0 "import format 1" import type1.bin --into full.DAT -o imp1.DAT
run_odctool show imp1.DAT --json >imp1.json 2>/dev/null
check "format 1 entries arrive" python3 -c '
import json, sys
d = json.load(open(sys.argv[1]))
assert [(e["number"], e["name"], e["address"]) for e in d["one_touch"]] == [(1, "Legacy", "7777")], d["one_touch"]
assert [(e["number"], e["name"], e["address"], e["max_tx_size_code"]) for e in d["speed_dial"]] == [(1, "Old", "old@example.com", 2)], d["speed_dial"]
assert d["kind"] == "full" and d["machine_name"] == "Front Desk"' imp1.json
expect_exit 0 "import format 2" import type2.bin --into full.DAT -o imp2.DAT
run_odctool show imp2.DAT --json >imp2.json 2>/dev/null
check "format 2 entries arrive" python3 -c '
import json, sys
d = json.load(open(sys.argv[1]))
assert [(e["number"], e["name"], e["address"]) for e in d["one_touch"]] == [(1, "Typ2A", "123")], d["one_touch"]
assert [(e["number"], e["name"], e["address"]) for e in d["speed_dial"]] == [(1, "Typ2S", "45")], d["speed_dial"]' imp2.json
expect_exit 1 "import keeps the settings: only dial lines differ" diff full.DAT imp1.DAT
check "import changed no setting" sh -c '! grep -v -e "^One Touch" -e "^Speed Dial" -e "^Group" out.txt'
expect_exit 0 "import format 3" import full.DAT --into new.DAT -o imp3.DAT
run_odctool show imp3.DAT --json >imp3.json 2>/dev/null
run_odctool show full.DAT --json >full.json 2>/dev/null
# The import marker takes the program flag off the first program key met,
# as the program does: key 30 arrives as the plain fax entry it holds.
check "format 3 takes the address book and nothing else" python3 -c '
import json, sys
a, b = json.load(open(sys.argv[1])), json.load(open(sys.argv[2]))
assert a["kind"] == "address-book" and a["machine_name"] == "", a["kind"]
assert a["one_touch"][:3] == b["one_touch"][:3], a["one_touch"]
assert (a["one_touch"][3]["number"], a["one_touch"][3]["type"], a["one_touch"][3]["name"]) == (30, "fax", "Night")
for k in ("speed_dial", "groups"):
    assert a[k] == b[k], k' imp3.json full.json
cp new.DAT before.DAT
expect_exit 1 "import of an unusable file" import err.txt --into new.DAT -o imp4.DAT
check "  says the program's message" test "$(cat err.txt)" = "$FORMAT_ERROR"
check "  writes nothing" test ! -e imp4.DAT
check "  leaves the base alone" cmp -s new.DAT before.DAT

# ---- export ----------------------------------------------------------------
expect_exit 0 "export" export full.DAT --csv book.csv
check "CSV parses to the expected rows" python3 -c '
import csv, sys
raw = open(sys.argv[1], "rb").read()
assert raw.count(b"\r\n") == 8 and b"\n" not in raw.replace(b"\r\n", b""), raw
rows = list(csv.reader(open(sys.argv[1], newline="")))
assert rows[0][:6] == ["table", "number", "type", "name", "name2", "address"], rows[0]
assert [(r[0], r[1], r[2]) for r in rows[1:]] == [
    ("one-touch", "2", "email"), ("one-touch", "3", "fax"), ("one-touch", "5", "fax"),
    ("one-touch", "30", "program"), ("speed-dial", "1", "email"), ("speed-dial", "200", "fax"),
    ("group", "8", "group")], rows
assert rows[3][3] == "Sales, \"North\"" and rows[3][5] == "0123456789", rows[3]
assert rows[0][17:] == ["members", "name_bytes", "name2_bytes", "group_mark", "program_entry",
                        "flags_byte", "speed_byte", "address_bytes"], rows[0]
assert rows[7][17] == "one-touch 5 speed-dial 200", rows[7]
assert rows[3][18] == "" and rows[3][20] == "", rows[3]
assert rows[4][2] == "program" and len(rows[4][21]) == 304, rows[4]
assert all(r[21] == "" for r in rows[1:] if r[2] != "program"), rows' book.csv
expect_exit 0 "export to standard output" export full.DAT --csv -
check "  the same bytes" cmp -s out.txt book.csv

# ---- CSV and vCard back in ----------------------------------------------------
expect_exit 0 "import of the exported CSV" import book.csv --into full.DAT -o back.DAT
expect_exit 0 "  export of the result" export back.DAT --csv back.csv
check "  gives the same CSV" cmp -s back.csv book.csv
expect_exit 0 "export --vcard" export full.DAT --vcard book.vcf
check "  one card per entry, program key and group aside" test "$(grep -c '^BEGIN:VCARD' book.vcf)" -eq 5
expect_exit 0 "import of the vCard" import book.vcf --into new.DAT -o fromvcf.DAT
expect_exit 0 "  shows it" show fromvcf.DAT --json
check "  the e-mail entry is back on its key" python3 -c '
import json, sys
book = json.load(open(sys.argv[1]))
keys = {e["number"]: e for e in book["one_touch"]}
assert keys[2]["type"] == "email", book' out.txt
printf 'type,address,name\r\nfax,0800 CALL,Help\r\n' >letter.csv
cp new.DAT before.DAT
expect_exit 1 "import of a CSV with a letter in a fax number" import letter.csv --into new.DAT -o bad.DAT
check "  names the line and the field" grep -q 'Line 2, field "address"' err.txt
check "  writes nothing" test ! -e bad.DAT
check "  leaves the base alone" cmp -s new.DAT before.DAT
# ---- contacts of other programs: --add, --skip-invalid, --dry-run ---------------
printf 'BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna\r\nTEL;TYPE=FAX:+46 8 1\r\nEND:VCARD\r\n' >mixed.vcf
printf 'BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Mobile only\r\nTEL;TYPE=CELL:0170\r\nEND:VCARD\r\n' >>mixed.vcf
printf 'BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Bad\r\nTEL;TYPE=FAX:0800 CALL\r\nEND:VCARD\r\n' >>mixed.vcf
cp full.DAT before.DAT
expect_exit 1 "import of contacts with problems, without --skip-invalid" import mixed.vcf --into full.DAT -o mixed.DAT
check "  lists every problem, in file order" sh -c \
  'grep -n "^Card" err.txt | cut -c1-17 | tr "\n" " " | grep -q "^2:Card 2 (line 6) 3:Card 3 (line 1"'
check "  says how to go on" grep -q -- "--skip-invalid" err.txt
check "  ends standard output with the summary" test "$(tail -n 1 out.txt)" = "0 imported, 3 skipped, 0 changed"
check "  writes nothing" test ! -e mixed.DAT
expect_exit 0 "import --skip-invalid" import mixed.vcf --into full.DAT -o mixed.DAT --skip-invalid
check "  reports the change on standard output" grep -q "0046 8 1" out.txt
check "  and the skipped contacts on standard error" test "$(grep -c '^Card' err.txt)" -eq 2
check "  ends with the summary" test "$(tail -n 1 out.txt)" = "1 imported, 2 skipped, 1 changed"
expect_exit 0 "  the result shows the contact" show mixed.DAT --json
check "  Replace leaves one Speed Dial and no One Touch key" python3 -c '
import json, sys
b = json.load(open(sys.argv[1]))
assert [(e["number"], e["address"]) for e in b["speed_dial"]] == [(1, "0046 8 1")], b["speed_dial"]
assert [e for e in b["one_touch"] if e["type"] != "program"] == [], b["one_touch"]' out.txt
expect_exit 0 "import --add --skip-invalid --international-prefix 011" import mixed.vcf --into full.DAT -o added.DAT --add --skip-invalid --international-prefix 011
expect_exit 0 "  shows it" show added.DAT --json
check "  Add keeps every entry and fills a free Speed Dial" python3 -c '
import json, sys
a, b = json.load(open(sys.argv[1])), json.load(open(sys.argv[2]))
assert a["one_touch"] == b["one_touch"] and a["groups"] == b["groups"], "keys changed"
new = [e for e in a["speed_dial"] if e not in b["speed_dial"]]
assert [e["address"] for e in new] == ["01146 8 1"], new
assert len(a["speed_dial"]) == len(b["speed_dial"]) + 1' out.txt full.json
# The same export added again: the contacts already there are left out, the
# new one is added, and nothing refuses the file.
printf 'BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna\r\nTEL;TYPE=FAX:+46 8 1\r\nEND:VCARD\r\n' >clean.vcf
expect_exit 0 "import --add of a clean file" import clean.vcf --into full.DAT -o again1.DAT --add
printf 'BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Bo\r\nEMAIL:bo@example.com\r\nEND:VCARD\r\n' >>clean.vcf
expect_exit 0 "  added again with one new contact, without --skip-invalid" import clean.vcf --into again1.DAT -o again2.DAT --add
check "  leaves the one already there out" grep -q "already in the address book" err.txt
check "  ends with the summary" test "$(tail -n 1 out.txt)" = "1 imported, 1 skipped, 0 changed"
expect_exit 1 "  added a third time: nothing new, nothing written" import clean.vcf --into again2.DAT -o again3.DAT --add
check "  writes nothing" test ! -e again3.DAT
# More contacts than places: the first ones are taken, the rest listed.
python3 -c '
print("Name,Business Fax\r")
for i in range(241): print("N%d,%d\r" % (i, 5000 + i))' >many.csv
expect_exit 0 "import of more contacts than the machine has places" import many.csv --into full.DAT -o many.DAT
check "  lists the one left over" grep -q "^Line 242, .*all 240 Speed Dials" err.txt
check "  ends with the summary" test "$(tail -n 1 out.txt)" = "240 imported, 1 skipped, 0 changed"
expect_exit 0 "import --dry-run" import mixed.vcf --into full.DAT --dry-run --skip-invalid
check "  prints the plan" grep -q "^Speed Dial 1: fax 0046 8 1" out.txt
check "  writes nothing and leaves the base alone" cmp -s full.DAT before.DAT
expect_exit 1 "import --skip-invalid of a file without one usable contact" import letter.csv --into full.DAT -o none.DAT --skip-invalid
check "  writes nothing" test ! -e none.DAT
printf 'Kunde;Telefon\r\nMeier;1\r\n' >other.csv
expect_exit 1 "import of a spreadsheet of another program" import other.csv --into full.DAT -o other.DAT --skip-invalid
check "  names the columns it needs" grep -q "Business Fax" err.txt
expect_exit 1 "--add with a settings data file" import full.DAT --into new.DAT -o x.DAT --add
expect_exit 2 "--international-prefix with a letter" import mixed.vcf --into full.DAT -o x.DAT --international-prefix 0O
expect_exit 2 "--add for another command" show full.DAT --add
expect_exit 2 "export with both --csv and --vcard" export full.DAT --csv a.csv --vcard a.vcf
expect_exit 0 "--version" --version
check "  names the tool and a version" grep -Eqx 'odctool [0-9]+\.[0-9]+\.[0-9]+' out.txt

# ---- diff --------------------------------------------------------------------
expect_exit 0 "diff of equal files" diff full.DAT full.DAT
check "  prints nothing" test ! -s out.txt
expect_exit 1 "diff of different files" diff full.DAT changed.DAT
check "  names the entry change" grep -qx 'One Touch 05: name "Sales, \\"North\\"" -> "Sales Dept"' out.txt
check "  POP3 password only changed" grep -qx 'pop3_password: changed' out.txt
check "  remote password only changed" grep -qx 'remote_password: changed' out.txt
check "  shows no secret" sh -c '! grep -q -e hunter2 -e swordfish -e 4711 -e 9999 out.txt'
check "  nothing else" test "$(wc -l <out.txt)" -eq 3
expect_exit 1 "diff of address book and full" diff new.DAT full.DAT
check "  names the kind" grep -qx 'Kind: address-book -> full' out.txt
check "  the administrator number only changed" grep -qx 'administrator_number: changed' out.txt
check "  shows no secret" sh -c '! grep -q -e hunter2 -e 4711 -e 654321 out.txt'

# ---- secrets: never printed, whatever the command ----------------------------
cp secrets_a.bin secrets_a.DAT
cp secrets_b.bin secrets_b.DAT
# Each value as decimal, as text and as the hex bytes a dump would show.
no_secret() {
  ! grep -q -e 271828 -e 602214 -e 'D4 25 04' -e '66 30 09' -e 314 -e 159 -e 141 -e 421 -e '9F 00' -e '8D 00' -e 'A5 01' \
    -e '3A 01' -e 2653 -e 3562 -e '5D 0A' -e popKEY -e ldapKEY -e 5897 -e 7985 -e '35 38 39 37' \
    -e '37 39 38 35' "$1"
}
for args in "show secrets_a.DAT" "show secrets_a.DAT --json" "export secrets_a.DAT --csv -"; do
  "$ODCTOOL" $args >out.txt 2>&1
  check "$args prints no secret" no_secret out.txt
done
expect_exit 1 "diff of two sets of secrets" diff secrets_a.DAT secrets_b.DAT
check "  prints no secret" no_secret out.txt
for line in "administrator_number: changed" "access_number_01: changed" \
  "access_number_50: changed" "remote_password: changed" "pop3_password: changed" \
  "ldap_password: changed" "memory_rx_password: changed"; do
  check "  says only: $line" grep -qx "$line" out.txt
done
check "  nothing else" test "$(wc -l <out.txt)" -eq 7
for pair in "new.DAT secrets_a.DAT" "secrets_b.DAT new.DAT"; do
  expect_exit 1 "diff $pair" diff $pair
  check "  prints no secret" no_secret out.txt
done

# ---- unusable files: exit 1 and the program's message ------------------------
python3 -c 'import random; random.seed(7); open("random.bin", "wb").write(bytes(random.randrange(256) for _ in range(5000)))'
: >empty.bin
head -c 1000 full.bin >cut1000.bin
head -c 70 full.bin >cut70.bin
head -c 3 full.bin >cut3.bin
mkdir adir
for input in random.bin empty.bin cut1000.bin cut70.bin cut3.bin type1.bin type2.bin; do
  expect_exit 1 "show $input" show $input
  check "  show $input says the program's message" test "$(cat err.txt)" = "$FORMAT_ERROR"
  check "  show $input prints nothing else" test ! -s out.txt
done
# A file that cannot be opened at all is named, not blamed for its format.
for input in missing.bin adir; do
  for command in show get upload; do
    expect_exit 1 "$command $input" $command $input
    check "  $command $input names the file" \
      grep -qx "\(odctool: \)\{0,1\}The file $input cannot be opened\." err.txt
  done
  expect_exit 1 "import from $input" import $input --into full.DAT -o imp5.DAT
  check "  names the file" test "$(cat err.txt)" = "The file $input cannot be opened."
  check "  writes nothing" test ! -e imp5.DAT
  expect_exit 1 "diff with $input" diff full.DAT $input
  check "  names the file" test "$(cat err.txt)" = "The file $input cannot be opened."
done
expect_exit 1 "diff with an unusable file" diff full.DAT empty.bin
check "  says the program's message" test "$(cat err.txt)" = "$FORMAT_ERROR"
expect_exit 1 "export of an unusable file" export random.bin --csv x.csv
check "  writes no CSV" test ! -e x.csv
# Every cut of a full file is either used or refused; never a crash.
crashes=0
size=$(wc -c <full.bin)
n=0
while [ $n -lt "$size" ]; do
  head -c $n full.bin >cut.bin
  run_odctool show cut.bin --json >/dev/null 2>&1
  rc=$?
  [ $rc -le 1 ] || { crashes=$((crashes + 1)); echo "cut at $n: exit $rc"; }
  n=$((n + 97))
done
check "no cut of a full file crashes show" test $crashes -eq 0

# ---- usage errors: exit 2 ---------------------------------------------------------
expect_exit 2 "no arguments"
check "  usage text on standard error" grep -q '^usage: odctool new OUT.DAT' err.txt
expect_exit 2 "unknown command" frobnicate
expect_exit 2 "show without a file" show
expect_exit 2 "show with two files" show a b
expect_exit 2 "show with an unknown option" show full.DAT --xml
expect_exit 2 "unknown language" show full.DAT --language KLINGON
expect_exit 2 "--language without a value" show full.DAT --language
expect_exit 2 "import without -o" import type1.bin --into full.DAT
expect_exit 2 "import without --into" import type1.bin -o x.DAT
expect_exit 2 "export without --csv" export full.DAT
expect_exit 2 "diff with one file" diff full.DAT
expect_exit 2 "new with --json" new x.DAT --json
expect_exit 2 "status with a file" status x.DAT
expect_exit 0 "--help" --help
check "  usage text on standard output" grep -q '^usage: odctool' out.txt

# ---- a secret typed in the wrong place stays out of the messages -----------------
# Each mistake is refused naming the argument by its start only; neither the
# secret nor any run of four of its characters reaches either output.
cp full.bin full.DAT
secret_free() {
  ! grep -q -e 654321 -e 6543 -e 5432 -e 4321 -e hunter2 -e unter -e nter2 out.txt err.txt
}
expect_exit 2 "a value glued to its name" set full.DAT administrator_number654321 -o x.DAT
check "  names the setting" grep -q '"administrator_number\.\.\." is not NAME=VALUE' err.txt
check "  and not the value" secret_free
check "  writes no file" test ! -e x.DAT
expect_exit 2 "a bare secret" set full.DAT 654321 -o x.DAT
check "  is not shown at all" grep -q '"\.\.\." is not NAME=VALUE' err.txt
check "  not even in part" secret_free
expect_exit 2 "a glued password" set full.DAT pop3_passwordhunter2 -o x.DAT
check "  names the setting" grep -q '"pop3_password\.\.\." is not NAME=VALUE' err.txt
check "  and not the password" secret_free
expect_exit 2 "a bare password" set full.DAT hunter2 -o x.DAT
check "  shows three characters at most" grep -q '"hun\.\.\." is not NAME=VALUE' err.txt
check "  and not the password" secret_free
expect_exit 2 "an assignment given as an option" set full.DAT --administrator_number=654321 -o x.DAT
check "  names the option without its value" \
  grep -q 'unknown option "--administrator_number=\.\.\."' err.txt
check "  and not the value" secret_free
expect_exit 2 "the same to another command" show full.DAT --remote_password=654321
check "  names the option without its value" grep -q 'unknown option "--remote_password=\.\.\."' err.txt
check "  and not the value" secret_free
expect_exit 1 "an assignment given to get" get full.DAT administrator_number=654321
check "  names the setting without its value" \
  grep -q 'unknown setting "administrator_number=\.\.\."' err.txt
check "  and not the value" secret_free
expect_exit 2 "an assignment as the command" administrator_number=654321
check "  names the command without its value" \
  grep -q 'unknown command "administrator_number=\.\.\."' err.txt
check "  and not the value" secret_free
expect_exit 2 "a secret as the language" show full.DAT --language 654321
check "  not shown" secret_free
expect_exit 1 "a secret refused as a value" set full.DAT administrator_number=6543210 -o x.DAT
check "  names the setting" grep -q '^odctool: administrator_number: value refused' err.txt
check "  and not the value" secret_free

# ---- machine commands ------------------------------------------------------------
expect_exit 1 "status without a machine" status
check "  says the program's message" test "$(cat err.txt)" = "Error opening USB Port !"
expect_exit 1 "download without a machine" download x.DAT
check "  writes no file" test ! -e x.DAT
cp full.bin machine.DAT
export ODC_SIMULATED_MACHINE="$WORK/machine.DAT"
expect_exit 0 "status of the simulated machine" status
check "  ready" grep -qx 'Machine status 0: ready' out.txt
check "  nothing on standard error" test ! -s err.txt
# A machine that is not ready answers 1, with the program's message.
ODC_SIMULATED_MACHINE_STATUS=1 expect_exit 1 "status of a busy machine" status
check "  names the status" grep -qx 'Machine status 1: Machine is operating !' out.txt
check "  says the program's message" test "$(cat err.txt)" = "Machine is operating !"
ODC_SIMULATED_MACHINE_STATUS=2 expect_exit 1 "status of a machine that timed out" status
check "  says the program's message" test "$(cat err.txt)" = "Disconnected from machine by timeout !"
ODC_SIMULATED_MACHINE_STATUS=3 expect_exit 1 "status of a machine in trouble" status
check "  says the program's message" \
  test "$(cat err.txt)" = "Disconnected from machine by Machine trouble!"
expect_exit 0 "status --json" status --json
check "  code and text" test "$(tr -d ' \n' <out.txt)" = '{"status":0,"ready":true,"text":"ready"}'
ODC_SIMULATED_MACHINE_STATUS=1 expect_exit 1 "status --json of a busy machine" status --json
check "  code and text" \
  test "$(tr -d ' \n' <out.txt)" = '{"status":1,"ready":false,"text":"Machineisoperating!"}'
expect_exit 0 "download" download down.DAT
expect_exit 0 "downloaded file holds the machine's data" diff full.DAT down.DAT
check "  no difference" test ! -s out.txt
expect_exit 0 "upload" upload changed.DAT
expect_exit 0 "the machine now holds the uploaded data" diff changed.DAT machine.DAT
ODC_SIMULATED_MACHINE_STATUS=1 expect_exit 1 "download from a busy machine" download busy.DAT
check "  says the program's message" test "$(cat err.txt)" = "Machine is operating !"
check "  writes no file" test ! -e busy.DAT
cp machine.DAT machine.before
ODC_SIMULATED_MACHINE_STATUS=3 expect_exit 1 "upload to a machine in trouble" upload full.DAT
check "  says the program's message" test "$(cat err.txt)" = "Disconnected from machine by Machine trouble!"
check "  the machine keeps its data" cmp -s machine.DAT machine.before
expect_exit 1 "upload of an unusable file" upload random.bin
check "  says the program's message" test "$(cat err.txt)" = "$FORMAT_ERROR"
if [ -n "$DEMO_MACHINE" ]; then
  # A download uploaded again leaves the machine's file byte for byte as it
  # was (its counters are never written, and it keeps them).
  cp "$DEMO_MACHINE" demo.DAT
  ODC_SIMULATED_MACHINE="$WORK/demo.DAT"
  expect_exit 0 "download from the demonstration machine" download round.DAT
  expect_exit 0 "upload of what was downloaded" upload round.DAT
  check "  the machine's file is unchanged, byte for byte" cmp -s demo.DAT "$DEMO_MACHINE"
fi

# ---- settings by name: a scripted fleet set-up -----------------------------------
if [ -n "$DEMO_MACHINE" ]; then
  cp "$DEMO_MACHINE" fleet.DAT
  ODC_SIMULATED_MACHINE="$WORK/fleet.DAT"
  export ODC_SIMULATED_MACHINE_TRAILER="$WORK/trailer.txt"
  expect_exit 0 "download for the fleet set-up" download site.DAT
  expect_exit 0 "set three settings" set site.DAT ip_address=192.168.20.31 \
    smtp_server=smtp.fleet.example auto_shut_off=45 -o site.set.DAT
  check "  says the addressing changed" grep -q -- '--network-changed' err.txt
  expect_exit 0 "upload with the network change" upload site.set.DAT --network-changed
  check "  the upload trailer carries the network-changed byte" grep -qx 'request flag 1' trailer.txt
  expect_exit 0 "get from the machine's file" get fleet.DAT ip_address smtp_server auto_shut_off
  check "  shows the three settings" test "$(cat out.txt)" = "ip_address = 192.168.20.31
smtp_server = smtp.fleet.example
auto_shut_off = 45"
  expect_exit 0 "show of the machine's file" show fleet.DAT
  check "  shows them too" sh -c "grep -qx 'ip_address = 192.168.20.31' out.txt &&
    grep -qx 'smtp_server = smtp.fleet.example' out.txt && grep -qx 'auto_shut_off = 45' out.txt"
  check "  and no secret" grep -qx 'administrator_number = (set)' out.txt
  expect_exit 0 "upload without a network change" upload site.set.DAT
  check "  the trailer's byte is 0" grep -qx 'request flag 0' trailer.txt
  expect_exit 0 "get --json" get fleet.DAT smtp_port administrator_number --json
  check "  secrets are not shown" grep -q '"administrator_number": "(set)"' out.txt
  expect_exit 1 "a 127.x address" set site.DAT ip_address=127.0.0.1 smtp_port=26 -o bad.DAT
  check "  names the setting and the accepted values" grep -q \
    '^odctool: ip_address: "127.0.0.1" refused: Invalid value : must be within 1 to 126 and 128 to 254 ! Accepted: ' err.txt
  check "  writes no file" test ! -e bad.DAT
  expect_exit 0 "a set that changes nothing" set site.DAT smtp_port=25 -o same.DAT
  check "  leaves the file byte for byte" cmp -s site.DAT same.DAT
  printf '{"auto_shut_off": 60, "dns": "Enable"}' >fleet.json
  expect_exit 0 "set --json" set site.DAT --json fleet.json -o json.DAT
  expect_exit 0 "  get of the result" get json.DAT auto_shut_off dns
  check "  holds the values" test "$(cat out.txt)" = "auto_shut_off = 60
dns = Enable"
  # A diff's setting lines are what set takes: NAME: "BEFORE" -> "AFTER".
  expect_exit 0 "set three settings" set site.DAT auto_shut_off=30 density_book=Mode2 \
    copy_priority="Auto Zoom" -o fed.DAT
  expect_exit 1 "diff of the changed settings" diff site.DAT fed.DAT
  check "  names them as get does" grep -qx 'copy_priority: "Auto Paper Select" -> "Auto Zoom"' out.txt
  check "  three lines" test "$(wc -l <out.txt)" -eq 3
  sed -n 's/^\([a-z0-9_]*\): ".*" -> "\(.*\)"$/\1=\2/p' out.txt >assign.txt
  check "  each line reads as NAME=AFTER" test "$(wc -l <assign.txt)" -eq 3
  set --
  while IFS= read -r assignment; do set -- "$@" "$assignment"; done <assign.txt
  expect_exit 0 "the lines given back to set" set site.DAT "$@" -o back.DAT
  expect_exit 0 "  make the same settings" diff fed.DAT back.DAT
  check "  no difference left" test ! -s out.txt
  unset ODC_SIMULATED_MACHINE_TRAILER
fi
expect_exit 1 "settings of an address book" get new.DAT
expect_exit 1 "  (a new data set)" set new.DAT smtp_port=25 -o x.DAT
check "  says why" grep -q 'holds only an address book' err.txt
check "  writes no file" test ! -e x.DAT
expect_exit 2 "set without -o" set new.DAT smtp_port=25
unset ODC_SIMULATED_MACHINE

# ---- files in a folder outside the ANSI code page ----------------------------
# "Łukasz 日本": Wine's ANSI code page follows the Unix locale (cp1252 for
# C.UTF-8), which has neither "Ł" nor the Japanese. Every command must find
# its files there, and a message names such a path in full.
U="Łukasz 日本"
mkdir "$U"
cp full.DAT "$U/site Ł.DAT"
run_odctool show full.DAT >full.txt 2>/dev/null
expect_exit 0 "show in a folder outside the code page" show "$U/site Ł.DAT"
check "  shows the file" cmp -s out.txt full.txt
expect_exit 0 "new there" new "$U/new 日本.DAT"
check "  writes the default data set" cmp -s "$U/new 日本.DAT" default.bin
expect_exit 0 "import there" import "$U/site Ł.DAT" --into "$U/new 日本.DAT" -o "$U/imported Ł.DAT"
run_odctool import full.DAT --into new.DAT -o imported.DAT >/dev/null 2>&1
check "  writes what the same import elsewhere writes" cmp -s "$U/imported Ł.DAT" imported.DAT
expect_exit 0 "export there" export "$U/site Ł.DAT" --csv "$U/book 日本.csv"
run_odctool export full.DAT --csv - >full.csv 2>/dev/null
check "  writes the address book" cmp -s "$U/book 日本.csv" full.csv
run_odctool diff "$U/site Ł.DAT" "$U/imported Ł.DAT" >out.txt 2>err.txt
there=$?
run_odctool diff full.DAT imported.DAT >diff.txt 2>/dev/null
elsewhere=$?
check "diff of two files there finds what the same diff elsewhere finds" \
  sh -c "test $there -eq $elsewhere && test -s out.txt && test ! -s err.txt && cmp -s out.txt diff.txt"
expect_exit 0 "set there" set "$U/site Ł.DAT" machine_name=Lodz -o "$U/set Ł.DAT"
expect_exit 0 "get there" get "$U/set Ł.DAT" machine_name
check "  reads the new value" test "$(cat out.txt)" = "machine_name = Lodz"
expect_exit 1 "show of a missing file there" show "$U/gone Ł.DAT"
check "  names it in full" test "$(cat err.txt)" = "The file $U/gone Ł.DAT cannot be opened."
cp full.DAT "$U/machine 日本.DAT"
export ODC_SIMULATED_MACHINE="$WORK/$U/machine 日本.DAT"
expect_exit 0 "download from a machine whose file is there, into the folder" download "$U/down Ł.DAT"
check "  no note about the machine" test ! -s err.txt
expect_exit 0 "  holds the machine's data" diff full.DAT "$U/down Ł.DAT"
expect_exit 0 "upload from the folder" upload "$U/set Ł.DAT"
expect_exit 0 "  the machine's file took it" get "$U/machine 日本.DAT" machine_name
check "  with the new value" test "$(cat out.txt)" = "machine_name = Lodz"
unset ODC_SIMULATED_MACHINE
check "only the files written, under their own names" test "$(ls "$U" | LC_ALL=C sort | tr '\n' '|')" = \
  "book 日本.csv|down Ł.DAT|imported Ł.DAT|machine 日本.DAT|new 日本.DAT|set Ł.DAT|site Ł.DAT|"

echo "$PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
