#!/usr/bin/env python3
"""Writes the small seed corpora of the fuzz targets (fuzz/corpus/<target>/).

Seeds: the default address book, a full settings data file with entries of
each kind and an information block, a cut one, and the two "CMC" formats."""
import os
import struct

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
SIGNATURE = b"CMDCODE002|ODC|BRAMWYN|ALL".ljust(64, b"\0")


def item(item_id, data=b"", length=None):
    return struct.pack("<II", item_id, len(data) if length is None else length) + data


def dial_ids():
    return [0x12000 + i for i in range(32)] + [0x12050 + i for i in range(240)]


def data_file(stream):
    return SIGNATURE + struct.pack("<II", 258, len(stream)) + stream


def one_touch_fax():
    e = bytearray(152)
    e[0:2] = struct.pack("<H", 1)
    e[2], e[3], e[5] = 0x0A, 4, 3
    e[6:9] = b"ABC"
    e[30] = 4
    e[33:35] = bytes([0x21, 0x43])
    return bytes(e)


def one_touch_group():
    e = bytearray(152)
    e[0:2] = struct.pack("<H", 2)
    e[2], e[3], e[5] = 0x80, 2, 2
    e[6:8] = b"GR"
    e[30:34] = bytes([8, 1, 4, 1])
    return bytes(e)


def speed_dial_mail():
    e = bytearray(118)
    e[0:2] = struct.pack("<H", 0x8001)
    e[2], e[3], e[4] = 0x05, 5, 1
    e[5] = ord("M")
    e[32:37] = b"a@b.c"
    return bytes(e)


def full_file():
    stream = b""
    for n, i in enumerate(dial_ids()):
        data = b""
        if n == 0:
            data = one_touch_fax()
        elif n == 1:
            data = one_touch_group()
        elif n == 32:
            data = speed_dial_mail()
        stream += item(i, data)
    stream += item(0x20000, b"\x01") + item(0x10009, b"\x02") + item(0x1051E, b"M40")
    stream += item(0x20600, struct.pack("<I", 123456))
    stream += item(0x21002, bytes(range(80)))
    return data_file(stream)


def cmc(total, one_touch_at, one_touch_size, speed_dial_at, records):
    f = bytearray(total)
    f[0:3] = b"CMC"
    for where, rec in records:
        f[where:where + len(rec)] = rec
    return bytes(f)


def type1():
    ot = bytearray(128)
    ot[0], ot[1], ot[3] = 0x09, 5, 1  # e-mail One Touch entry
    ot[4] = ord("E")
    ot[29] = 9
    ot[32:37] = b"x@y.z"
    sd = bytearray(94)
    sd[0], sd[1], sd[2] = 0x06, 3, 1
    sd[3] = ord("F")
    sd[29:31] = bytes([0x21, 0x03])
    return cmc(22345, 89, 128, 89 + 3456, [(89, ot), (89 + 3456, sd)])


def type2():
    ot = bytearray(150)
    ot[0], ot[1], ot[26] = 3, 0x42, 1  # fax One Touch entry
    ot[27] = ord("T")
    ot[50:52] = bytes([0x21, 0x03])
    grp = bytearray(150)
    grp[0], grp[1], grp[26] = 1, 0x80, 1
    grp[27] = ord("G")
    grp[47:49] = bytes([8, 1])
    return cmc(20000, 91, 150, 91 + 4050, [(91, ot), (91 + 150, grp)])


SETTING_SEEDS = [
    ("fleet.txt", 0x80, ["ip_address=192.168.20.31", "smtp_server=smtp.fleet.example",
                         "auto_shut_off=45"]),
    ("every_form.txt", 0x80, ["small_original=on", "default_tx=ADF TX", "fax_tx_density=3",
                              "auto_shut_off=off", "size_input_x=300 mm", "sender_name=Site 7",
                              "reply_address=desk@site.example", "subnet_mask=255.255.0.0",
                              "administrator_number=654321", "access_number_05=123",
                              "memory_rx=on", "memory_rx_password=1234", "ldap_password=x"]),
    ("refused.txt", 0x80, ["ip_address=127.0.0.1", "gateway=10.0.0.0", "smtp_port=65536",
                           "administrator_number=1234567", "machine_name=" + "x" * 40]),
    ("coupled.txt", 0x80, ["quality_priority=Photo", "density_priority=Auto",
                           "email_mode=Basic", "ip_mode=Specify IP address"]),
    ("japanese.txt", 0x83 | (3 << 4), ["machine_name=\u30c6\u30b9\u30c8", "language=JAPANESE",
                                       "paper_size=Hagaki", "call_transfer=on"]),
    ("no_nic.txt", 0x05, ["ip_address=10.1.1.1", "max_tx_size=Ledger", "telephone_number=+1 555"]),
    ("malformed.txt", 0x80, ["=", "ip_address=1..2.3", "auto_shut_off=99999999999999",
                             "prefix=\u00e9\u00e9", "access_number_50=", "remote_password= 0042 "]),
]


def write(target, name, data):
    folder = os.path.join(ROOT, "fuzz", "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def main():
    default = data_file(b"".join(item(i) for i in dial_ids()))
    assert len(default) == 2248
    full = full_file()
    write("fuzz_data_file", "default.dat", default)
    write("fuzz_data_file", "full.dat", full)
    write("fuzz_data_file", "cut.dat", full[:len(full) // 2])
    write("fuzz_data_file", "absent_items.dat",
          data_file(b"".join(item(i, length=0xFFFFFFFF) for i in dial_ids())))
    write("fuzz_import", "address_book.dat", default)
    write("fuzz_import", "full.dat", full)
    write("fuzz_import", "type1.cmc", type1())
    write("fuzz_import", "type2.cmc", type2())
    # odctool set: the first byte picks language, variant, region and NIC
    # kit; then "name=value" lines.
    for name, knobs, lines in SETTING_SEEDS:
        write("fuzz_setting_values", name, bytes([knobs]) + "\n".join(lines).encode("utf-8"))


if __name__ == "__main__":
    main()
