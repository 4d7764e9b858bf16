' Sorting in place: array elements passed ByRef to a Swap routine.
Sub Swap(a, b)
    Dim t
    t = a : a = b : b = t
End Sub

Sub BubbleSort(items)
    Dim i, j
    For i = UBound(items) To 1 Step -1
        For j = 0 To i - 1
            If items(j) > items(j + 1) Then Swap items(j), items(j + 1)
        Next
    Next
End Sub

Function QuickSorted(items)
    Dim pivot, less(), more(), nl, nm, i, x
    If UBound(items) < 1 Then
        QuickSorted = items
        Exit Function
    End If
    pivot = items(0)
    nl = -1 : nm = -1
    ReDim less(UBound(items)), more(UBound(items))
    For i = 1 To UBound(items)
        x = items(i)
        If x < pivot Then
            nl = nl + 1 : less(nl) = x
        Else
            nm = nm + 1 : more(nm) = x
        End If
    Next
    ReDim Preserve less(nl)
    ReDim Preserve more(nm)
    QuickSorted = Split(Trim(Join(QuickSorted(less)) & " " & pivot & " " & Join(QuickSorted(more))))
End Function

Dim data
data = Array(5, 3, 9, 1, 7, 2, 8)
BubbleSort data
WScript.Echo Join(data, " ")
data = Array("pear", "apple", "fig", "banana")
BubbleSort data
WScript.Echo Join(data, " ")
WScript.Echo Join(QuickSorted(Array(4, 8, 1, 9, 3)), " ")
