' Indexed properties, defaults, Exit Property, Me and objects in procedures.
Class List
    Private items_()
    Private count_

    Private Sub Class_Initialize
        ReDim items_(1)
        count_ = 0
    End Sub

    Public Sub Add(v)
        If count_ > UBound(items_) Then ReDim Preserve items_(count_ * 2)
        items_(count_) = v
        count_ = count_ + 1
    End Sub

    Public Default Property Get Item(i)
        If i >= count_ Then Err.Raise 9, "List", "no item " & i
        Item = items_(i)
    End Property

    Public Property Let Item(i, v)
        items_(i) = v
    End Property

    Public Property Get Count
        Count = count_
        Exit Property
        Count = -1
    End Property

    Public Function Self()
        Set Self = Me
    End Function

    Public Function Joined(sep)
        Dim i, s
        For i = 0 To count_ - 1
            If i > 0 Then s = s & sep
            s = s & items_(i)
        Next
        Joined = s
    End Function
End Class

Class Tracker
    Public Name
    Private Sub Class_Terminate
        WScript.Echo "bye " & Name
    End Sub
End Class

Dim l
Set l = New List
l.Add "a" : l.Add "b" : l.Add "c"
WScript.Echo l.Count, l(1), l.Item(2), l.Joined("+")
l.Item(0) = "z"
WScript.Echo l.Self().Joined(","), l.Self Is l
Call l.Add("d")
WScript.Echo l.Joined("")
On Error Resume Next
x = l(10)
WScript.Echo Err.Number, Err.Source, Err.Description
On Error GoTo 0

Sub MakeTemporary()
    Dim t
    Set t = New Tracker
    t.Name = "temporary"
    WScript.Echo "in sub"
End Sub
MakeTemporary
WScript.Echo "after sub"

Function Build(name)
    Set Build = New Tracker
    Build.Name = name
End Function
Dim kept
Set kept = Build("kept")
WScript.Echo kept.Name
Set kept = Build("replacement")
WScript.Echo "end"
