"""Byte-level pieces of GRIB messages that ecCodes will not write the way
the tests need them: IBM floats, simple packing with a chosen reference and
scales, the extended edition 1 grid section, and splicing sections."""

import struct

import numpy as np


def ibm_float(value):
    """IBM System/360 single precision: sign, base-16 exponent (excess 64),
    24-bit mantissa. Exact for values a 24-bit hexadecimal mantissa holds."""
    if value == 0:
        return b"\0\0\0\0"
    sign = 0x80 if value < 0 else 0
    mag = abs(float(value))
    exponent = 64
    while mag >= 1.0:
        mag /= 16.0
        exponent += 1
    while mag < 1.0 / 16.0:
        mag *= 16.0
        exponent -= 1
    mantissa = int(round(mag * (1 << 24)))
    if mantissa >= 1 << 24:
        mantissa >>= 4
        exponent += 1
    if not 0 <= exponent <= 127:
        raise ValueError(f"{value} is out of IBM float range")
    return bytes([sign | exponent]) + mantissa.to_bytes(3, "big")


def ibm_to_float(data):
    sign = -1.0 if data[0] & 0x80 else 1.0
    exponent = (data[0] & 0x7F) - 64
    mantissa = int.from_bytes(data[1:4], "big")
    return sign * mantissa * 16.0 ** exponent / (1 << 24)


def sign_magnitude(value, width):
    """GRIB signed integer: top bit is the sign, the rest the magnitude."""
    top = 1 << (8 * width - 1)
    if abs(value) >= top:
        raise ValueError(f"{value} does not fit {width} bytes")
    return (abs(value) | (top if value < 0 else 0)).to_bytes(width, "big")


def pack_bits(values, bits):
    """Packs non-negative integers most significant bit first; the last
    byte is padded with zero bits."""
    values = np.asarray(values, dtype=np.uint64)
    if bits == 0 or values.size == 0:
        return b""
    if int(values.max()) >= 1 << bits:
        raise ValueError(f"value {int(values.max())} needs more than {bits} bits")
    if bits == 8:
        return values.astype(np.uint8).tobytes()
    if bits == 16:
        return values.astype(">u2").tobytes()
    shifts = np.arange(bits - 1, -1, -1, dtype=np.uint64)
    bit_array = ((values[:, None] >> shifts[None, :]) & np.uint64(1)).astype(np.uint8)
    return np.packbits(bit_array.ravel()).tobytes()


def pad_even(data):
    """Edition 1 sections have an even length."""
    return data + b"\0" if len(data) % 2 else data


def grib1_sections(message):
    """Splits an edition 1 message into its sections (as bytes)."""
    if message[:4] != b"GRIB" or message[7] != 1:
        raise ValueError("not an edition 1 message")
    pos = 8
    pds_len = int.from_bytes(message[pos:pos + 3], "big")
    pds = message[pos:pos + pds_len]
    pos += pds_len
    flags = pds[7]
    gds = bms = b""
    if flags & 0x80:
        gds = message[pos:pos + int.from_bytes(message[pos:pos + 3], "big")]
        pos += len(gds)
    if flags & 0x40:
        bms = message[pos:pos + int.from_bytes(message[pos:pos + 3], "big")]
        pos += len(bms)
    bds = message[pos:pos + int.from_bytes(message[pos:pos + 3], "big")]
    return pds, gds, bms, bds


def grib1_message(pds, gds, bms, bds):
    body = pds + gds + bms + bds
    total = 8 + len(body) + 4
    if total >= 1 << 24:
        raise ValueError("message too long for edition 1")
    return b"GRIB" + total.to_bytes(3, "big") + b"\x01" + body + b"7777"


def with_length(section, length_bytes=3):
    return len(section).to_bytes(length_bytes, "big") + section[length_bytes:]


def grib1_set_decimal_scale(pds, decimal_scale):
    return pds[:26] + sign_magnitude(decimal_scale, 2) + pds[28:]






def grib1_bds(packed, bits, binary_scale, reference_ibm):
    """Grid-point simple-packing binary data section."""
    data = pack_bits(packed, bits)
    body = pad_even(b"\0" * 11 + data)
    unused = (len(body) - 11) * 8 - len(packed) * bits
    if unused > 15:
        raise ValueError("section padding exceeds the 4-bit unused count")
    return (len(body).to_bytes(3, "big") + bytes([unused & 0x0F])
            + sign_magnitude(binary_scale, 2) + reference_ibm + bytes([bits])
            + body[11:])


def grib1_extend_gds(gds, major_km, minor_km, true_lat):
    """Appends the earth axes and the true-scale latitude behind the
    reserved octets 29-32 of a 32-byte polar stereographic grid section."""
    if len(gds) != 32:
        raise ValueError("expected a 32-byte grid section")
    tail = ibm_float(major_km) + ibm_float(minor_km) + ibm_float(true_lat)
    return with_length(gds + tail)


def simple_pack(values, reference, binary_scale, decimal_scale, bits):
    """Packed integers X with value = (reference + X * 2^E) / 10^D, rounded
    to the nearest; raises when a value falls outside 0 .. 2^bits - 1."""
    scaled = np.asarray(values, dtype=np.float64) * 10.0 ** decimal_scale
    packed = np.rint((scaled - reference) / 2.0 ** binary_scale)
    if packed.size and (packed.min() < 0 or packed.max() >= 2 ** bits):
        raise ValueError("values do not fit the chosen packing")
    return packed.astype(np.int64)


def grib2_sections(message):
    """Returns [(number, offset, bytes)] for sections 1..7 of an edition 2
    message (section 0 and the end marker left out)."""
    if message[:4] != b"GRIB" or message[7] != 2:
        raise ValueError("not an edition 2 message")
    total = int.from_bytes(message[8:16], "big")
    pos, out = 16, []
    while pos < total - 4:
        length = int.from_bytes(message[pos:pos + 4], "big")
        out.append((message[pos + 4], pos, message[pos:pos + length]))
        pos += length
    return out


def grib2_message(discipline, sections):
    body = b"".join(sections)
    total = 16 + len(body) + 4
    return (b"GRIB\0\0" + bytes([discipline, 2]) + total.to_bytes(8, "big")
            + body + b"7777")


def ieee_float(value):
    return struct.pack(">f", value)


def grib2_simple_section5(count, reference, binary_scale, decimal_scale, bits):
    return (struct.pack(">IBI", 21, 5, count) + (0).to_bytes(2, "big")
            + ieee_float(reference) + sign_magnitude(binary_scale, 2)
            + sign_magnitude(decimal_scale, 2) + bytes([bits, 0]))


def grib2_section7(data):
    return struct.pack(">IB", 5 + len(data), 7) + data


def float32(value):
    return struct.unpack(">f", ieee_float(value))[0]
