"""Edition 2 complex packing (data representation templates 5.2 and 5.3)
written here, because ecCodes picks its own grouping, leaves out spatial
differencing and never writes missing-value management.

Groups are cut at chosen lengths rather than optimally: what matters for
the tests is that every field of the templates is exercised (group
references, widths and lengths each with their own reference and bit
count, a length increment above 1, a last group of its own length)."""

import struct

import numpy as np

from . import packing


class BitWriter:
    def __init__(self):
        self.bits = []

    def put(self, value, width):
        if width == 0:
            return
        if value < 0 or value >= 1 << width:
            raise ValueError(f"{value} does not fit {width} bits")
        self.bits.extend((value >> (width - 1 - k)) & 1 for k in range(width))

    def put_all(self, values, width):
        for value in values:
            self.put(int(value), width)

    def align(self):
        self.bits.extend([0] * (-len(self.bits) % 8))

    def data(self):
        self.align()
        return np.packbits(np.array(self.bits, dtype=np.uint8)).tobytes() if self.bits else b""


def bits_for(value):
    """Bits needed to hold 0..value."""
    return int(value).bit_length()


def _split_lengths(count, rng, lengths):
    """Group lengths drawn from `lengths` until count is used up; the last
    group takes what is left."""
    out = []
    left = count
    while left > 0:
        length = int(rng.choice(lengths))
        if length >= left:
            out.append(left)
            break
        out.append(length)
        left -= length
    return out


LENGTH_INCREMENT = 2     # group lengths step by 2 from the shortest one


def _difference(packed, missing, order):
    """Spatial differencing over the values that are present: returns the
    values to group (differences shifted to start at 0, the first `order`
    present positions 0) and the descriptors (first values, minimum)."""
    work = packed.copy()
    if not order:
        return work, []
    present = packed[missing == 0]
    diffs = present.copy()
    for _ in range(order):
        diffs[1:] = diffs[1:] - diffs[:-1].copy()
    rest = diffs[order:]
    minimum = int(rest.min()) if rest.size else 0
    shifted = np.zeros(present.size, dtype=np.int64)
    shifted[order:] = rest - minimum
    work[missing == 0] = shifted
    return work, [int(v) for v in present[:order]] + [minimum]


def _group_fields(work, missing, group_lengths, mvm):
    """Reference and width of every group. With missing-value management
    the top code(s) of each width mark missing values, and a group with no
    value at all has width 0 and a reference of all ones (primary) or all
    ones minus one (secondary)."""
    refs, widths = [], []
    start = 0
    for length in group_lengths:
        flags = missing[start:start + length]
        shown = work[start:start + length][flags == 0]
        if shown.size == 0:
            refs.append(None)
            widths.append(0)
        else:
            low, span = int(shown.min()), int(shown.max() - shown.min())
            refs.append(low)
            reserve = mvm if mvm and (span > 0 or (flags != 0).any()) else 0
            widths.append(bits_for(span + reserve))
        start += length
    nbits = max(bits_for(max((r for r in refs if r is not None), default=0) + mvm), mvm)
    start = 0
    for k, length in enumerate(group_lengths):
        if refs[k] is None:
            refs[k] = (1 << nbits) - int(missing[start])
        start += length
    return refs, widths, nbits


def _group_values(writer, work, missing, group_lengths, refs, widths):
    start = 0
    for length, ref, width in zip(group_lengths, refs, widths):
        top = (1 << width) - 1
        for value, flag in zip(work[start:start + length], missing[start:start + length]):
            if width:
                writer.put(top + 1 - flag if flag else int(value) - ref, width)
        start += length


def complex_pack(packed, missing=None, order=0, mvm=0, seed=0,
                 lengths=(6, 8, 10, 12, 14, 16, 18, 20)):
    """Template 5.2 (order 0) or 5.3 (order 1 or 2) packing of non-negative
    scaled integers in file order. missing: None or an int array of the same
    length, 0 = value, 1 = primary missing, 2 = secondary missing (only with
    missing-value management 1 or 2). Returns (the numbers section 5 needs,
    section 7 data)."""
    packed = np.asarray(packed, dtype=np.int64)
    if packed.size and packed.min() < 0:
        raise ValueError("scaled values must not be negative")
    missing = np.zeros(packed.size, dtype=np.int64) if missing is None else np.asarray(missing)
    if mvm == 0 and missing.any():
        raise ValueError("missing values need missing-value management")
    if mvm == 1 and (missing == 2).any():
        raise ValueError("secondary missing values need management 2")

    work, descriptors = _difference(packed, missing, order)
    group_lengths = _split_lengths(packed.size, np.random.default_rng(seed), lengths)
    refs, widths, nbits = _group_fields(work, missing, group_lengths, mvm)
    width_ref = min(widths)
    width_bits = bits_for(max(widths) - width_ref)
    length_ref = min(lengths)
    # The last group's length is given apart, its scaled length is unused.
    scaled_lengths = [(n - length_ref) // LENGTH_INCREMENT for n in group_lengths[:-1]] + [0]
    length_bits = bits_for(max(scaled_lengths))

    writer = BitWriter()
    for values, width in ((refs, nbits), (np.array(widths) - width_ref, width_bits),
                          (scaled_lengths, length_bits)):
        writer.put_all(values, width)
        writer.align()
    _group_values(writer, work, missing, group_lengths, refs, widths)

    extra_octets = 0
    extra = b""
    if order:
        # Room for the first values and the signed minimum (sign and magnitude).
        biggest = max(abs(v) for v in descriptors)
        extra_octets = max(1, (bits_for(biggest) + 1 + 7) // 8)
        extra = b"".join(packing.sign_magnitude(v, extra_octets) for v in descriptors)

    info = {"groups": len(group_lengths), "group_lengths": group_lengths,
            "reference_bits": nbits, "width_reference": width_ref,
            "width_bits": width_bits, "length_reference": length_ref,
            "length_increment": LENGTH_INCREMENT, "length_bits": length_bits,
            "order": order, "extra_octets": extra_octets,
            "descriptors": descriptors, "missing_value_management": mvm}
    return info, extra + writer.data()


def section5(count, reference, binary_scale, decimal_scale, info,
             primary=None, secondary=None):
    """Section 5 of template 5.2 (order 0) or 5.3. count is the number of
    values packed (present points, plus missing ones coded in the data)."""
    template = 3 if info["order"] else 2
    body = struct.pack(">IBIH", 0, 5, count, template)
    body += packing.ieee_float(reference)
    body += packing.sign_magnitude(binary_scale, 2) + packing.sign_magnitude(decimal_scale, 2)
    body += bytes([info["reference_bits"], 0, 1, info["missing_value_management"]])
    for substitute in (primary, secondary):
        body += packing.ieee_float(substitute) if substitute is not None else b"\xff" * 4
    body += struct.pack(">IBB", info["groups"], info["width_reference"], info["width_bits"])
    body += struct.pack(">IB", info["length_reference"], info["length_increment"])
    body += struct.pack(">IB", info["group_lengths"][-1], info["length_bits"])
    if template == 3:
        body += bytes([info["order"], info["extra_octets"]])
    return struct.pack(">I", len(body)) + body[4:]
